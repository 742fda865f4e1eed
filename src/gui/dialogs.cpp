#include "gui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace kestrova {

namespace {

QMessageBox::Icon IconOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Question:
        case MessageKind::OkCancel:
            break;
    }
    return QMessageBox::Warning;
}

QMessageBox::StandardButtons ButtonsOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Question:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageKind::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageKind::Error:
        case MessageKind::Information:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

QString Dialogs::CaptionOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QStringLiteral("Ошибка!");
        case MessageKind::Information:
            return QStringLiteral("Информация.");
        case MessageKind::Question:
        case MessageKind::OkCancel:
            break;
    }
    return QStringLiteral("Внимание!");
}

Answer MessageBoxDialogs::Show(QWidget* parent, MessageKind kind, const QString& text) {
    QMessageBox box(IconOf(kind), CaptionOf(kind), text, ButtonsOf(kind), parent);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            // Closed by its caption bar or Escape: the answer that changes nothing.
            return kind == MessageKind::Question   ? Answer::No
                   : kind == MessageKind::OkCancel ? Answer::Cancel
                                                   : Answer::Ok;
    }
}

QString MessageBoxDialogs::OpenFile(QWidget* parent, const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, QString(), filter);
}

QString MessageBoxDialogs::SaveFile(QWidget* parent, const QString& title, const QString& filter) {
    // The save command asks about an existing file itself, for the name exactly as typed.
    return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

}  // namespace kestrova
