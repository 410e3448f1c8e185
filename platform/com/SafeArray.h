#pragma once

#include <memory>

#include "platform/com/Variant.h"

struct SAFEARRAYBOUND {
    ULONG cElements;
    LONG lLbound;
};

// A one-dimensional array of doubles (VT_R8) or of VARIANTs (VT_VARIANT), made and freed only
// by the functions below. Indices run from lLbound to lLbound + cElements - 1; the runtime
// refuses to make an array whose upper bound would not fit a LONG.
struct SAFEARRAY {
    USHORT cDims;
    VARTYPE vt;
    ULONG cbElements;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
};

extern "C" {
// Null for another element type, dimension count or when memory runs out. Elements start as
// 0.0 or VT_EMPTY.
TAVOCOM_API SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dimensions,
                                       const SAFEARRAYBOUND* bounds) noexcept;
TAVOCOM_API SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) noexcept;
// Clears VARIANT elements and frees the array; a null array is S_OK.
TAVOCOM_API HRESULT SafeArrayDestroy(SAFEARRAY* array) noexcept;
TAVOCOM_API HRESULT SafeArrayCopy(const SAFEARRAY* array, SAFEARRAY** copy) noexcept;
// 0 for null.
TAVOCOM_API UINT SafeArrayGetDim(const SAFEARRAY* array) noexcept;
TAVOCOM_API HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt) noexcept;
// dimension counts from 1; another one is DISP_E_BADINDEX.
TAVOCOM_API HRESULT SafeArrayGetLBound(const SAFEARRAY* array, UINT dimension,
                                       LONG* bound) noexcept;
TAVOCOM_API HRESULT SafeArrayGetUBound(const SAFEARRAY* array, UINT dimension,
                                       LONG* bound) noexcept;
// indices holds one index per dimension. element points to a double or a VARIANT by the array's
// type; a VARIANT is copied deeply (GetElement's destination is treated as uninitialised and the
// caller clears it). DISP_E_BADINDEX outside the bounds.
TAVOCOM_API HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* indices,
                                        void* element) noexcept;
TAVOCOM_API HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices,
                                        const void* element) noexcept;
}

namespace platform::com {

struct SafeArrayDeleter {
    void operator()(SAFEARRAY* array) const noexcept { SafeArrayDestroy(array); }
};
using UniqueSafeArray = std::unique_ptr<SAFEARRAY, SafeArrayDeleter>;

}  // namespace platform::com
