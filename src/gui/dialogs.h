#pragma once

#include <QString>

class QWidget;

namespace kestrova {

// The kinds of message box the program shows; each has one caption, icon and set of buttons.
enum class MessageKind {
    Error,        // "Ошибка!", error icon, OK
    Question,     // "Внимание!", warning icon, Yes and No
    Information,  // "Информация.", information icon, OK
    OkCancel,     // "Внимание!", warning icon, OK and Cancel
};

enum class Answer { Ok, Cancel, Yes, No };

// Every message box and file dialog of the program goes through this, so that window tests
// answer them from a script instead of blocking on a modal window.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The caption of a kind of message.
    static QString CaptionOf(MessageKind kind);

    void Error(QWidget* parent, const QString& text) { Show(parent, MessageKind::Error, text); }
    // True for Yes.
    bool Question(QWidget* parent, const QString& text) {
        return Show(parent, MessageKind::Question, text) == Answer::Yes;
    }
    void Information(QWidget* parent, const QString& text) {
        Show(parent, MessageKind::Information, text);
    }
    // True for OK.
    bool OkCancel(QWidget* parent, const QString& text) {
        return Show(parent, MessageKind::OkCancel, text) == Answer::Ok;
    }

    // The chosen file, or an empty text when the user cancelled.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& filter) = 0;
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& filter) = 0;

protected:
    // Shows `text` under the kind's caption and waits for the answer.
    virtual Answer Show(QWidget* parent, MessageKind kind, const QString& text) = 0;
};

// The real message boxes and file dialogs.
class MessageBoxDialogs : public Dialogs {
public:
    QString OpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& filter) override;

protected:
    Answer Show(QWidget* parent, MessageKind kind, const QString& text) override;
};

}  // namespace kestrova
