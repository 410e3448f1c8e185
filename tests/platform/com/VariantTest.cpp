#include "platform/com/Variant.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"

namespace {

using platform::com::VariantArrayElementToDouble;
using platform::com::VariantToDouble;

VARIANT Text(const char16_t* text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
    return value;
}

VARIANT Number(double number) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R8;
    value.dblVal = number;
    return value;
}

TEST(Variant, ClearFreesWhatItHoldsAndLeavesItEmpty) {
    VARIANT text = Text(u"owned");
    EXPECT_EQ(VariantClear(&text), S_OK);
    EXPECT_EQ(text.vt, VT_EMPTY);

    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_VARIANT;
    array.parray = SafeArrayCreateVector(VT_VARIANT, 0, 1);
    VARIANT element = Text(u"inside");
    const LONG index = 0;
    SafeArrayPutElement(array.parray, &index, &element);
    VariantClear(&element);
    EXPECT_EQ(VariantClear(&array), S_OK);  // the sanitizer build finds what would leak
    EXPECT_EQ(array.vt, VT_EMPTY);

    VARIANT unknown;
    VariantInit(&unknown);
    unknown.vt = 0x4005;  // by reference: not known here
    EXPECT_EQ(VariantClear(&unknown), DISP_E_BADVARTYPE);
    EXPECT_EQ(unknown.vt, 0x4005);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(Variant, CopyDuplicatesStringsAndArrays) {
    VARIANT source = Text(u"text");
    VARIANT copy = Number(1);
    EXPECT_EQ(VariantCopy(&copy, &source), S_OK);
    ASSERT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, source.bstrVal);
    EXPECT_EQ(std::u16string(copy.bstrVal), u"text");
    VariantClear(&source);

    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_R8;
    array.parray = SafeArrayCreateVector(VT_R8, 0, 2);
    EXPECT_EQ(VariantCopy(&copy, &array), S_OK);  // the string held before is freed
    EXPECT_NE(copy.parray, array.parray);
    EXPECT_EQ(copy.parray->rgsabound[0].cElements, 2u);
    VariantClear(&array);
    VariantClear(&copy);
}

TEST(Variant, ConvertsToDouble) {
    struct Case {
        VARIANT value;
        HRESULT status;
        double number;
    };
    VARIANT integer;
    VariantInit(&integer);
    integer.vt = VT_I4;
    integer.lVal = -7;
    VARIANT empty;
    VariantInit(&empty);
    Case cases[] = {
        {Number(2.5), S_OK, 2.5},
        {integer, S_OK, -7},
        {empty, S_OK, 0},
        {Text(u" 0.125 "), S_OK, 0.125},
        {Text(u"-1e3"), S_OK, -1000},
        {Text(u"+.5"), S_OK, 0.5},
        {Text(u"abc"), DISP_E_TYPEMISMATCH, 0},
        {Text(u"1.5x"), DISP_E_TYPEMISMATCH, 0},
        {Text(u"inf"), DISP_E_TYPEMISMATCH, 0},
        {Text(u"nan"), DISP_E_TYPEMISMATCH, 0},
        {Text(u""), DISP_E_TYPEMISMATCH, 0},
        {Text(u"1e999"), DISP_E_OVERFLOW, 0},
    };
    for (Case& c : cases) {
        double number = -1;
        EXPECT_EQ(VariantToDouble(c.value, number), c.status);
        if (c.status == S_OK) {
            EXPECT_EQ(number, c.number);
        }
        VariantClear(&c.value);
    }
}

TEST(Variant, ArrayElementsConvertToDoubleWithinTheBoundsOnly) {
    VARIANT doubles;
    VariantInit(&doubles);
    doubles.vt = VT_ARRAY | VT_R8;
    doubles.parray = SafeArrayCreateVector(VT_R8, 0, 2);
    const double value = 4.25;
    const LONG one = 1;
    SafeArrayPutElement(doubles.parray, &one, &value);
    double result = 0;
    EXPECT_EQ(VariantArrayElementToDouble(doubles, 1, result), S_OK);
    EXPECT_EQ(result, 4.25);
    EXPECT_EQ(VariantArrayElementToDouble(doubles, 2, result), DISP_E_BADINDEX);
    EXPECT_EQ(VariantArrayElementToDouble(doubles, -1, result), DISP_E_BADINDEX);
    VariantClear(&doubles);

    VARIANT variants;
    VariantInit(&variants);
    variants.vt = VT_ARRAY | VT_VARIANT;
    variants.parray = SafeArrayCreateVector(VT_VARIANT, 10, 2);
    VARIANT text = Text(u"3");
    const LONG ten = 10;
    const LONG eleven = 11;
    SafeArrayPutElement(variants.parray, &ten, &text);
    VariantClear(&text);
    VARIANT nested;
    VariantInit(&nested);
    nested.vt = VT_ARRAY | VT_R8;
    nested.parray = SafeArrayCreateVector(VT_R8, 0, 1);
    SafeArrayPutElement(variants.parray, &eleven, &nested);
    VariantClear(&nested);
    EXPECT_EQ(VariantArrayElementToDouble(variants, 10, result), S_OK);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(VariantArrayElementToDouble(variants, 11, result), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(VariantArrayElementToDouble(variants, 0, result), DISP_E_BADINDEX);
    VariantClear(&variants);

    EXPECT_EQ(VariantArrayElementToDouble(Number(1), 0, result), DISP_E_TYPEMISMATCH);
}

}  // namespace
