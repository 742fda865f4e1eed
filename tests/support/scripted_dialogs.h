#pragma once

#include <QString>
#include <deque>
#include <vector>

#include "gui/dialogs.h"

namespace kestrova {

// Dialogs for window tests: answers come from queues filled beforehand and every request is
// recorded. With its queue empty, a message gets the answer that changes nothing (No, Cancel,
// OK) and a file dialog is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        MessageKind kind;
        QString caption;
        QString text;
    };
    struct FileRequest {
        bool save;
        QString title;
        QString filter;
    };

    void QueueAnswer(Answer answer) { answers_.push_back(answer); }
    // The file name the next open or save dialog returns ("" for a cancel).
    void QueueFile(const QString& path) { files_.push_back(path); }

    const std::vector<Message>& Messages() const { return messages_; }
    const std::vector<FileRequest>& FileRequests() const { return fileRequests_; }
    void ClearRecords();

    QString OpenFile(QWidget* parent, const QString& title, const QString& filter) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& filter) override;

protected:
    Answer Show(QWidget* parent, MessageKind kind, const QString& text) override;

private:
    QString NextFile();

    std::deque<Answer> answers_;
    std::deque<QString> files_;
    std::vector<Message> messages_;
    std::vector<FileRequest> fileRequests_;
};

}  // namespace kestrova
