#pragma once

#include <stdexcept>
#include <string>

// Misuse of a toolbar control: the operation is refused and the control is left unchanged.
class EInvalidOperation : public std::logic_error {
  public:
    using std::logic_error::logic_error;

    // Fills the one "%s" of a message template.
    static EInvalidOperation Formatted(const char* messageTemplate, const std::string& argument) {
        std::string text = messageTemplate;
        if (const auto at = text.find("%s"); at != std::string::npos)
            text.replace(at, 2, argument);
        return EInvalidOperation(text);
    }
};
