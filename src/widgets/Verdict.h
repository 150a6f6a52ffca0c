#pragma once

// What an editor's checks answer: the first message that stops the user, with
// its kind and the control that takes the focus; nothing when every check
// passed. The checks live in the core; the window only shows the verdict.

#include <optional>
#include <string>

namespace veskar {

enum class MessageKind {
    Error,    // caption "Error", stop icon, OK
    Warning,  // caption "Warning", exclamation icon, OK
    Question, // caption "Warning", exclamation icon, Yes and No
};

inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kWarningCaption = "Warning";
// Save and erase questions.
inline constexpr const char* kQueryCaption = "Query";

template <typename Control> struct Verdict {
    MessageKind kind;
    std::string text;
    Control focus;

    friend bool operator==(const Verdict&, const Verdict&) = default;
};

// Nothing: accepted.
template <typename Control> using CheckResult = std::optional<Verdict<Control>>;

} // namespace veskar
