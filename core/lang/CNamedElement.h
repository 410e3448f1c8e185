#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/norms/C1ArgOper.h"
#include "core/norms/C2ArgOper.h"
#include "core/sets/CFuzzySet.h"

// A word of a variable's vocabulary: its names (the full name first, then its short forms) and
// the set or operator it stands for.
template <class T>
class CNamedElement {
  public:
    CNamedElement(std::vector<std::string> names, std::unique_ptr<T> element)
        : names_(std::move(names)), element_(std::move(element)) {}

    const std::vector<std::string>& Names() const { return names_; }
    const std::string& Name() const { return names_.front(); }
    std::vector<std::string>& MutableNames() { return names_; }

    T& Element() { return *element_; }
    const T& Element() const { return *element_; }
    void SetElement(std::unique_ptr<T> element) { element_ = std::move(element); }

  private:
    std::vector<std::string> names_;
    std::unique_ptr<T> element_;
};

using CNamedTerm = CNamedElement<CFuzzySet>;
using CNamedModifier = CNamedElement<C1ArgOper>;
using CNamedConnective = CNamedElement<C2ArgOper>;
