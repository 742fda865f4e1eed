#include "support/scripted_dialogs.h"

namespace kestrova {

void ScriptedDialogs::ClearRecords() {
    messages_.clear();
    fileRequests_.clear();
}

Answer ScriptedDialogs::Show(QWidget* /*parent*/, MessageKind kind, const QString& text) {
    messages_.push_back({kind, CaptionOf(kind), text});
    if (!answers_.empty()) {
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    switch (kind) {
        case MessageKind::Question:
            return Answer::No;
        case MessageKind::OkCancel:
            return Answer::Cancel;
        case MessageKind::Error:
        case MessageKind::Information:
            break;
    }
    return Answer::Ok;
}

QString ScriptedDialogs::OpenFile(QWidget* /*parent*/, const QString& title,
                                  const QString& filter) {
    fileRequests_.push_back({false, title, filter});
    return NextFile();
}

QString ScriptedDialogs::SaveFile(QWidget* /*parent*/, const QString& title,
                                  const QString& filter) {
    fileRequests_.push_back({true, title, filter});
    return NextFile();
}

QString ScriptedDialogs::NextFile() {
    if (files_.empty()) return QString();
    QString path = files_.front();
    files_.pop_front();
    return path;
}

}  // namespace kestrova
