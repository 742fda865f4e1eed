// The scripted dialogs answer from their queues and record what was asked.
#include <gtest/gtest.h>

#include "support/scripted_dialogs.h"

namespace kestrova {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(ScriptedDialogs, AnswersInOrderThenWithTheAnswerThatChangesNothing) {
    ScriptedDialogs dialogs;
    dialogs.QueueAnswer(Answer::Yes);
    dialogs.QueueAnswer(Answer::Ok);
    EXPECT_EQ(dialogs.Ask(nullptr, MessageKind::Question, U("Внимание!"), U("Выйти?")),
              Answer::Yes);
    EXPECT_EQ(dialogs.Ask(nullptr, MessageKind::OkCancel, U("Внимание!"),
                          U("Удалить выбранный элемент из списка?")),
              Answer::Ok);
    // The queue is empty now.
    EXPECT_EQ(dialogs.Ask(nullptr, MessageKind::Question, U("Внимание!"), U("b")), Answer::No);
    EXPECT_EQ(dialogs.Ask(nullptr, MessageKind::OkCancel, U("Внимание!"), U("c")), Answer::Cancel);
    EXPECT_EQ(
        dialogs.Ask(nullptr, MessageKind::Error, U("Ошибка!"), U("Выберите элемент для удаления!")),
        Answer::Ok);
    EXPECT_EQ(dialogs.Ask(nullptr, MessageKind::Info, U("Информация."), U("d")), Answer::Ok);

    ASSERT_EQ(dialogs.Messages().size(), 6u);
    const ScriptedDialogs::Message& error = dialogs.Messages()[4];
    EXPECT_EQ(error.kind, MessageKind::Error);
    EXPECT_EQ(error.caption, U("Ошибка!"));
    EXPECT_EQ(error.text, U("Выберите элемент для удаления!"));
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
