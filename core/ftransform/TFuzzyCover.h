#pragma once

#include <memory>

// A basic function of an F-transform over [low, high], peaking at the centre; outside the interval
// it is 0. One cover serves every node of an axis, shifted.
class TFuzzyCover {
  public:
    TFuzzyCover(double low, double high) : low_(low), high_(high), centre_((low + high) * 0.5) {}
    virtual ~TFuzzyCover() = default;

    virtual double Value(double x) const = 0;
    // "triangular", "quadratic", "sinusoidal" or "fuzzynumber", as the ".ftv" file names it.
    virtual const char* GetTypeName() const = 0;

    double Low() const { return low_; }
    double High() const { return high_; }
    double Centre() const { return centre_; }

  protected:
    double low_;
    double high_;
    double centre_;
};

// The cover of a shape code (see FTShape) over [low, high]; null for an unknown code.
std::unique_ptr<TFuzzyCover> CreateFuzzyCover(int shape, double low, double high);
