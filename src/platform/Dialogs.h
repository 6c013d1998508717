#pragma once

#include <optional>
#include <string>

// Modal message boxes. Texts are Windows-1252 bytes; "\r" and "\r\n" break lines.
class Dialogs {
  public:
    // YesNoDefaultNo: a question whose Yes destroys or replaces data; Enter
    // and a key typed before the box appeared answer No.
    enum class Buttons { OkCancel, YesNo, YesNoDefaultNo, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry, Closed };
    struct Position {
        int left = 0;
        int top = 0;
    };

    virtual ~Dialogs() = default;
    virtual void message(const std::string& text) = 0;
    virtual Answer confirm(const std::string& text, Buttons buttons,
                           std::optional<Position> at = std::nullopt) = 0;
    // A question answered by typing a word: what was typed, or nothing when
    // the box was cancelled.
    virtual std::optional<std::string> askText(const std::string& text) = 0;
    // The same for a secret: what is typed is not shown.
    virtual std::optional<std::string> askSecret(const std::string& text) = 0;
    // The system's bell: a short sound that needs no answer.
    virtual void beep() {}
};
