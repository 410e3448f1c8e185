#pragma once

#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

// The interface of the runtime tests' server module: numbers, an array in a VARIANT and strings
// cross the module boundary the way the real server's calls do.
class IAdder : public IUnknown {
  public:
    virtual double Add(double a, double b) noexcept = 0;
    // Sum of all elements of a one-dimensional array of doubles or VARIANTs.
    virtual HRESULT Sum(VARIANT values, double* sum) noexcept = 0;
    // "Hello, " + name; the caller frees the result.
    virtual BSTR Greet(BSTR name) noexcept = 0;

  protected:
    ~IAdder() = default;
};

inline constexpr IID IID_IAdder{
    0x5E0C1A01, 0x7A1D, 0x4C2B, {0x9E, 0x11, 0x2F, 0x61, 0x0A, 0xB3, 0x55, 0x01}};
inline constexpr CLSID CLSID_Adder{
    0x5E0C1A02, 0x7A1D, 0x4C2B, {0x9E, 0x11, 0x2F, 0x61, 0x0A, 0xB3, 0x55, 0x01}};
inline constexpr GUID LIBID_AdderLib{
    0x5E0C1A00, 0x7A1D, 0x4C2B, {0x9E, 0x11, 0x2F, 0x61, 0x0A, 0xB3, 0x55, 0x01}};
