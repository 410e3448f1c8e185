#include "platform/com/SafeArray.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/com/Bstr.h"

namespace {

using platform::com::UniqueSafeArray;

TEST(SafeArray, OneDimensionWithALowerBound) {
    const UniqueSafeArray array(SafeArrayCreateVector(VT_R8, -2, 5));
    ASSERT_TRUE(array);
    EXPECT_EQ(SafeArrayGetDim(array.get()), 1u);
    VARTYPE vt = 0;
    EXPECT_EQ(SafeArrayGetVartype(array.get(), &vt), S_OK);
    EXPECT_EQ(vt, VT_R8);
    LONG lower = 0;
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetLBound(array.get(), 1, &lower), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(array.get(), 1, &upper), S_OK);
    EXPECT_EQ(lower, -2);
    EXPECT_EQ(upper, 2);
    for (LONG i = lower; i <= upper; ++i) {
        double value = 99;
        EXPECT_EQ(SafeArrayGetElement(array.get(), &i, &value), S_OK);
        EXPECT_EQ(value, 0.0);  // new elements are zero
        value = i * 1.5;
        EXPECT_EQ(SafeArrayPutElement(array.get(), &i, &value), S_OK);
    }
    const LONG last = 2;
    double value = 0;
    EXPECT_EQ(SafeArrayGetElement(array.get(), &last, &value), S_OK);
    EXPECT_EQ(value, 3.0);
}

TEST(SafeArray, IndicesOutsideTheBoundsAreRefused) {
    const UniqueSafeArray array(SafeArrayCreateVector(VT_R8, 1, 3));
    double value = 7;
    for (const LONG index :
         {0, 4, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()}) {
        EXPECT_EQ(SafeArrayGetElement(array.get(), &index, &value), DISP_E_BADINDEX) << index;
        EXPECT_EQ(SafeArrayPutElement(array.get(), &index, &value), DISP_E_BADINDEX) << index;
    }
    EXPECT_EQ(value, 7);
    LONG bound = 0;
    EXPECT_EQ(SafeArrayGetLBound(array.get(), 0, &bound), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(array.get(), 2, &bound), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetLBound(nullptr, 1, &bound), E_INVALIDARG);
    EXPECT_EQ(SafeArrayGetElement(array.get(), nullptr, &value), E_INVALIDARG);
}

TEST(SafeArray, AnEmptyArrayEndsBeforeItStarts) {
    const UniqueSafeArray array(SafeArrayCreateVector(VT_VARIANT, 0, 0));
    ASSERT_TRUE(array);
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetUBound(array.get(), 1, &upper), S_OK);
    EXPECT_EQ(upper, -1);
    const LONG index = 0;
    VARIANT element;
    EXPECT_EQ(SafeArrayGetElement(array.get(), &index, &element), DISP_E_BADINDEX);
}

TEST(SafeArray, OnlyWhatThisRuntimeKnowsIsMade) {
    EXPECT_EQ(SafeArrayCreateVector(VT_BSTR, 0, 1), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_I4, 0, 1), nullptr);
    const SAFEARRAYBOUND twoDimensions[2] = {{2, 0}, {2, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_R8, 2, twoDimensions), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_R8, 1, nullptr), nullptr);
    // An upper bound past the largest LONG could not be reported.
    EXPECT_EQ(SafeArrayCreateVector(VT_R8, std::numeric_limits<LONG>::max(), 2), nullptr);
    const UniqueSafeArray atTheEnd(
        SafeArrayCreateVector(VT_R8, std::numeric_limits<LONG>::max(), 1));
    EXPECT_TRUE(atTheEnd);
    EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
    EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
}

TEST(SafeArray, VariantElementsAreCopiedDeeplyAndFreedWithTheArray) {
    const UniqueSafeArray array(SafeArrayCreateVector(VT_VARIANT, 0, 2));
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(u"first");
    const LONG index = 1;
    EXPECT_EQ(SafeArrayPutElement(array.get(), &index, &text), S_OK);
    EXPECT_EQ(SafeArrayPutElement(array.get(), &index, &text), S_OK);  // the old copy is freed
    VariantClear(&text);  // the array keeps its own copy

    VARIANT element;
    EXPECT_EQ(SafeArrayGetElement(array.get(), &index, &element), S_OK);
    ASSERT_EQ(element.vt, VT_BSTR);
    EXPECT_EQ(std::u16string(element.bstrVal), u"first");
    VariantClear(&element);

    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(array.get(), &copy), S_OK);
    const UniqueSafeArray copyOwner(copy);
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_R8;
    number.dblVal = 2.5;
    EXPECT_EQ(SafeArrayPutElement(array.get(), &index, &number), S_OK);
    EXPECT_EQ(SafeArrayGetElement(copy, &index, &element), S_OK);
    EXPECT_EQ(element.vt, VT_BSTR);  // the copy did not change with the original
    VariantClear(&element);
}

}  // namespace
