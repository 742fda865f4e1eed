#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <utility>

namespace kestrova::testing {

// Plays the user of whatever modal window the code under test opens (a message box, a file
// dialog, a program dialog): each modal window that comes up gets the next step, which answers
// it. A modal window beyond the steps is closed with Escape's answer, so exec() always returns.
class ModalAnswerer {
public:
    using Step = std::function<void(QWidget& modal)>;

    explicit ModalAnswerer(std::deque<Step> steps = {}) : steps_(std::move(steps)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    void Then(Step step) { steps_.push_back(std::move(step)); }

    // The captions of the modal windows answered so far, in order.
    const QStringList& Captions() const { return captions_; }

    // Presses the button with this role (a message box's or a button box's).
    static Step Press(QDialogButtonBox::ButtonRole role) {
        return [role](QWidget& modal) {
            if (auto* box = qobject_cast<QMessageBox*>(&modal)) {
                for (QAbstractButton* button : box->buttons())
                    if (box->buttonRole(button) == static_cast<QMessageBox::ButtonRole>(role))
                        return button->click();
            }
            for (auto* buttons : modal.findChildren<QDialogButtonBox*>())
                for (QAbstractButton* button : buttons->buttons())
                    if (buttons->buttonRole(button) == role) return button->click();
        };
    }
    // Presses the button showing this text ("&" marks left out).
    static Step Press(const QString& text) {
        return [text](QWidget& modal) {
            for (auto* button : modal.findChildren<QAbstractButton*>())
                if (button->text().remove(QLatin1Char('&')) == text) return button->click();
        };
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == current_ || !modal->isVisible()) return;
        current_ = modal;
        captions_.append(modal->windowTitle());
        if (steps_.empty()) {
            Dismiss(*modal);
            return;
        }
        const Step step = std::move(steps_.front());
        steps_.pop_front();
        step(*modal);
    }

    static void Dismiss(QWidget& modal) {
        if (auto* dialog = qobject_cast<QDialog*>(&modal))
            dialog->reject();
        else
            modal.close();
    }

    std::deque<Step> steps_;
    QTimer timer_;
    QPointer<QWidget> current_;
    QStringList captions_;
};

}  // namespace kestrova::testing
