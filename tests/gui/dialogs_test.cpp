// The message boxes carry their kind's caption, icon and buttons; the scripted dialogs answer
// from their queues and record what was asked.
#include <gtest/gtest.h>

#include <QMessageBox>

#include "gui/dialogs.h"
#include "support/gui_app.h"
#include "support/modal_answerer.h"
#include "support/scripted_dialogs.h"

namespace kestrova {
namespace {

using testing::ModalAnswerer;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(MessageBoxDialogs, EachKindHasItsCaptionIconAndButtons) {
    testing::GuiApp();
    struct Case {
        MessageKind kind;
        const char* caption;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };
    const Case cases[] = {
        {MessageKind::Error, "Ошибка!", QMessageBox::Critical, QMessageBox::Ok},
        {MessageKind::Question, "Внимание!", QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No},
        {MessageKind::Information, "Информация.", QMessageBox::Information, QMessageBox::Ok},
        {MessageKind::OkCancel, "Внимание!", QMessageBox::Warning,
         QMessageBox::Ok | QMessageBox::Cancel},
    };
    MessageBoxDialogs dialogs;
    for (const Case& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QString text;
        ModalAnswerer answerer({[&](QWidget& modal) {
            auto& box = static_cast<QMessageBox&>(modal);
            icon = box.icon();
            buttons = box.standardButtons();
            text = box.text();
            box.reject();
        }});
        switch (c.kind) {
            case MessageKind::Error:
                dialogs.Error(nullptr, U("текст"));
                break;
            case MessageKind::Question:
                EXPECT_FALSE(dialogs.Question(nullptr, U("текст"))) << "closed: No";
                break;
            case MessageKind::Information:
                dialogs.Information(nullptr, U("текст"));
                break;
            case MessageKind::OkCancel:
                EXPECT_FALSE(dialogs.OkCancel(nullptr, U("текст"))) << "closed: Cancel";
                break;
        }
        ASSERT_EQ(answerer.Captions(), QStringList{U(c.caption)});
        EXPECT_EQ(Dialogs::CaptionOf(c.kind), U(c.caption));
        EXPECT_EQ(icon, c.icon) << c.caption;
        EXPECT_EQ(buttons, c.buttons) << c.caption;
        EXPECT_EQ(text, U("текст"));
    }
}

TEST(MessageBoxDialogs, YesAndOkAreTheAnswersThatAgree) {
    testing::GuiApp();
    MessageBoxDialogs dialogs;
    ModalAnswerer answerer({ModalAnswerer::Press(QDialogButtonBox::YesRole),
                            ModalAnswerer::Press(QDialogButtonBox::NoRole),
                            ModalAnswerer::Press(QDialogButtonBox::AcceptRole),
                            ModalAnswerer::Press(QDialogButtonBox::RejectRole)});
    EXPECT_TRUE(dialogs.Question(nullptr, U("a")));
    EXPECT_FALSE(dialogs.Question(nullptr, U("b")));
    EXPECT_TRUE(dialogs.OkCancel(nullptr, U("c")));
    EXPECT_FALSE(dialogs.OkCancel(nullptr, U("d")));
}

TEST(ScriptedDialogs, AnswersInOrderThenWithTheAnswerThatChangesNothing) {
    ScriptedDialogs dialogs;
    dialogs.QueueAnswer(Answer::Yes);
    dialogs.QueueAnswer(Answer::Ok);
    EXPECT_TRUE(dialogs.Question(nullptr, U("Выйти?")));
    EXPECT_TRUE(dialogs.OkCancel(nullptr, U("Удалить выбранный элемент из списка?")));
    // The queue is empty now.
    EXPECT_FALSE(dialogs.Question(nullptr, U("b")));
    EXPECT_FALSE(dialogs.OkCancel(nullptr, U("c")));
    dialogs.Error(nullptr, U("Выберите элемент для удаления!"));
    dialogs.Information(nullptr, U("d"));

    ASSERT_EQ(dialogs.Messages().size(), 6u);
    const ScriptedDialogs::Message& error = dialogs.Messages()[4];
    EXPECT_EQ(error.kind, MessageKind::Error);
    EXPECT_EQ(error.caption, U("Ошибка!"));
    EXPECT_EQ(error.text, U("Выберите элемент для удаления!"));
    EXPECT_EQ(dialogs.Messages()[5].caption, U("Информация."));
    dialogs.ClearRecords();
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST(ScriptedDialogs, FileDialogsReturnQueuedNamesAndRecordTheirRequests) {
    ScriptedDialogs dialogs;
    dialogs.QueueFile(QStringLiteral("/tmp/rates.kvtl"));
    EXPECT_EQ(dialogs.OpenFile(nullptr, U("Открыть"), QStringLiteral("*.kvtl")),
              QStringLiteral("/tmp/rates.kvtl"));
    EXPECT_EQ(dialogs.SaveFile(nullptr, U("Сохранить"), QStringLiteral("*.kvtl")), QString())
        << "an empty queue cancels";
    ASSERT_EQ(dialogs.FileRequests().size(), 2u);
    EXPECT_FALSE(dialogs.FileRequests()[0].save);
    EXPECT_TRUE(dialogs.FileRequests()[1].save);
    EXPECT_EQ(dialogs.FileRequests()[1].title, U("Сохранить"));
    EXPECT_EQ(dialogs.FileRequests()[1].filter, QStringLiteral("*.kvtl"));
}

}  // namespace
}  // namespace kestrova
