#pragma once

// The temporary mark of a set that is a value in transit: an operator's or an inference's result.
//
// Ownership carries the convention: producers return a std::unique_ptr to a set marked temporary;
// whoever is handed that pointer destroys the set after use, or takes over its buffers (Assign).
// Whoever is lent a set by reference copies it. The mark itself tells later consumers what the
// set is: a defuzzification destroys only temporaries, and a value clears the mark of the set it
// keeps.
class CTempBase {
  public:
    virtual ~CTempBase() = default;

    virtual void MarkTemporary() { temporary_ = true; }
    virtual void ClearTemporary() { temporary_ = false; }
    virtual bool IsTemporary() const { return temporary_; }
    virtual void Detach() = 0;

  protected:
    CTempBase() = default;
    // A copy is a new set, and a new set is not temporary.
    CTempBase(const CTempBase&) {}
    CTempBase& operator=(const CTempBase&) { return *this; }

  private:
    bool temporary_ = false;
};
