#include "platform/com/SafeArray.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

ULONG ElementSize(VARTYPE vt) {
    switch (vt) {
        case VT_R8:
            return sizeof(double);
        case VT_VARIANT:
            return sizeof(VARIANT);
        default:
            return 0;
    }
}

// The element's address, or null outside the bounds (checked in 64 bits, so no index overflows).
void* ElementAt(const SAFEARRAY* array, const LONG* indices) {
    const std::int64_t offset = std::int64_t{indices[0]} - array->rgsabound[0].lLbound;
    if (offset < 0 || offset >= std::int64_t{array->rgsabound[0].cElements})
        return nullptr;
    return static_cast<char*>(array->pvData) + offset * array->cbElements;
}

VARIANT* Variants(const SAFEARRAY* array) {
    return static_cast<VARIANT*>(array->pvData);
}

}  // namespace

extern "C" {

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dimensions, const SAFEARRAYBOUND* bounds) noexcept {
    const ULONG elementSize = ElementSize(vt);
    if (dimensions != 1 || bounds == nullptr || elementSize == 0)
        return nullptr;
    const SAFEARRAYBOUND bound = bounds[0];
    const std::int64_t upper = std::int64_t{bound.lLbound} + bound.cElements - 1;
    if (upper > std::numeric_limits<LONG>::max() || upper < std::numeric_limits<LONG>::min()) {
        return nullptr;
    }
    // calloc: zero bytes are 0.0 and VT_EMPTY alike.
    auto* array = static_cast<SAFEARRAY*>(std::calloc(1, sizeof(SAFEARRAY)));
    if (array == nullptr)
        return nullptr;
    if (bound.cElements > 0) {
        array->pvData = std::calloc(bound.cElements, elementSize);
        if (array->pvData == nullptr) {
            std::free(array);
            return nullptr;
        }
    }
    array->cDims = 1;
    array->vt = vt;
    array->cbElements = elementSize;
    array->rgsabound[0] = bound;
    return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) noexcept {
    const SAFEARRAYBOUND bound{count, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) noexcept {
    if (array == nullptr)
        return S_OK;
    if (array->vt == VT_VARIANT) {
        for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i)
            VariantClear(&Variants(array)[i]);
    }
    std::free(array->pvData);
    std::free(array);
    return S_OK;
}

HRESULT SafeArrayCopy(const SAFEARRAY* array, SAFEARRAY** copy) noexcept {
    if (copy == nullptr)
        return E_INVALIDARG;
    *copy = nullptr;
    if (array == nullptr)
        return S_OK;
    SAFEARRAY* result = SafeArrayCreate(array->vt, array->cDims, array->rgsabound);
    if (result == nullptr)
        return E_OUTOFMEMORY;
    const ULONG count = array->rgsabound[0].cElements;
    if (array->vt == VT_VARIANT) {
        for (ULONG i = 0; i < count; ++i) {
            const HRESULT status = VariantCopy(&Variants(result)[i], &Variants(array)[i]);
            if (FAILED(status)) {
                SafeArrayDestroy(result);
                return status;
            }
        }
    } else if (count > 0) {
        std::memcpy(result->pvData, array->pvData, std::size_t{count} * array->cbElements);
    }
    *copy = result;
    return S_OK;
}

UINT SafeArrayGetDim(const SAFEARRAY* array) noexcept {
    return array != nullptr ? array->cDims : 0;
}

HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt) noexcept {
    if (array == nullptr || vt == nullptr)
        return E_INVALIDARG;
    *vt = array->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* array, UINT dimension, LONG* bound) noexcept {
    if (array == nullptr || bound == nullptr)
        return E_INVALIDARG;
    if (dimension < 1 || dimension > array->cDims)
        return DISP_E_BADINDEX;
    *bound = array->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* array, UINT dimension, LONG* bound) noexcept {
    if (array == nullptr || bound == nullptr)
        return E_INVALIDARG;
    if (dimension < 1 || dimension > array->cDims)
        return DISP_E_BADINDEX;
    // Fits: creation refuses arrays whose upper bound would not.
    *bound = static_cast<LONG>(std::int64_t{array->rgsabound[0].lLbound} +
                               array->rgsabound[0].cElements - 1);
    return S_OK;
}

HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* indices, void* element) noexcept {
    if (array == nullptr || indices == nullptr || element == nullptr)
        return E_INVALIDARG;
    const void* source = ElementAt(array, indices);
    if (source == nullptr)
        return DISP_E_BADINDEX;
    if (array->vt == VT_VARIANT) {
        auto* destination = static_cast<VARIANT*>(element);
        VariantInit(destination);
        return VariantCopy(destination, static_cast<const VARIANT*>(source));
    }
    std::memcpy(element, source, array->cbElements);
    return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const void* element) noexcept {
    if (array == nullptr || indices == nullptr || element == nullptr)
        return E_INVALIDARG;
    void* destination = ElementAt(array, indices);
    if (destination == nullptr)
        return DISP_E_BADINDEX;
    if (array->vt == VT_VARIANT) {
        return VariantCopy(static_cast<VARIANT*>(destination),
                           static_cast<const VARIANT*>(element));
    }
    std::memcpy(destination, element, array->cbElements);
    return S_OK;
}

}  // extern "C"
