#pragma once

#include <QString>

class QWidget;

namespace kestrova {

// The kinds of message box the program shows.
enum class MessageKind {
    Error,     // error icon, OK
    Question,  // warning icon, Yes and No
    Info,      // information icon, OK
    OkCancel,  // warning icon, OK and Cancel
};

enum class Answer { Ok, Cancel, Yes, No };

// Every message box and file dialog of the program goes through this, so that window tests
// answer them from a script instead of blocking on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows `text` under `caption` (the callers give "Ошибка!", "Внимание!", "Информация.")
    // and waits for the answer.
    virtual Answer Ask(QWidget* parent, MessageKind kind, const QString& caption,
                       const QString& text) = 0;
    // The chosen file, or an empty text when the user cancelled.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& filter) = 0;
};

// The real message boxes and file dialogs.
class MessageBoxDialogs : public Dialogs {
public:
    Answer Ask(QWidget* parent, MessageKind kind, const QString& caption,
               const QString& text) override;
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& filter) override;
};

}  // namespace kestrova
