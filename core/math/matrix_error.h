#pragma once

#include <stdexcept>
#include <string>

namespace math {

// Failure of a matrix operation: a range error or an unsolvable system.
class matrix_error : public std::logic_error {
  public:
    explicit matrix_error(const std::string& message) : std::logic_error(message) {}
};

}  // namespace math
