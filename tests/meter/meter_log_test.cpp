// The connection log as the tick writes it.

#include "base/text_codec.h"
#include "meter_fixture.h"

namespace kestrova::testing {
namespace {

class LogMeter : public MeterTest {
protected:
    void SetUp() override {
        MeterTest::SetUp();
        Set("General", "Log", "1");
        Set("General", "LogFile", (root / "conn.log").string());
    }
    std::string Log() { return Cp1251ToUtf8(ReadAll(root / "conn.log")); }
};

TEST_F(LogMeter, EntryOfAConnection) {
    Start();
    clock.Set(2027, 3, 10, 9, 59, 59);
    Connect();
    Seconds(330, 2048, 1024);  // 10:00:00 to 10:05:29
    Disconnect();
    Seconds(1);  // 10:05:30
    EXPECT_EQ(Log(),
              "\r\nСоединение начато: 10.03.2027 10:00:00\r\n"
              "Соединение завершено: 10.03.2027 10:05:30\r\n"
              "Время в сети: 00:05:30 Стоимость: 5.00 Входящий трафик: 660.00 КБ "
              "Исходяший трафик 330.00 КБ\r\n");
}

TEST_F(LogMeter, ZeroCostAndStartedMinuteNotInTheLine) {
    Set("General", "EveryMin", "1");
    Start();
    Connect();
    Seconds(30);
    Disconnect();
    Seconds(1);
    EXPECT_NE(Log().find("Время в сети: 00:00:30 Стоимость:  Входящий трафик: 0.00 Байт"),
              std::string::npos);
    EXPECT_DOUBLE_EQ(meter->SessionCost(), 1.0);  // charged after the line was written
}

TEST_F(LogMeter, PausedConnectionIsLoggedAndStartWhileOnlineWritesTheStart) {
    Connect();
    Start(/*running=*/false);
    Seconds(1);
    EXPECT_NE(Log().find("Соединение начато: "), std::string::npos);
    Seconds(10);
    Disconnect();
    Seconds(1);
    EXPECT_NE(Log().find("Время в сети: 00:00:00 Стоимость: "), std::string::npos);
}

TEST_F(LogMeter, UnwritableLogIsReportedOnce) {
    Set("General", "LogFile", (root / "missing" / "conn.log").string());
    Start();
    for (int i = 0; i < 3; ++i) {
        Connect();
        Seconds(5);
        Disconnect();
        Seconds(1);
    }
    EXPECT_EQ(meter->TakeMessages().size(), 1u);
}

TEST_F(LogMeter, SizeControlCutsAtAnEntry) {
    std::string log;
    for (int i = 0; i < 40; ++i) {
        log += "\r\nСоединение начато: 10.03.2027 10:00:0" + std::to_string(i % 10) + "\r\n";
        log += "Соединение завершено: 10.03.2027 10:05:30\r\n";
        log +=
            "Время в сети: 00:05:30 Стоимость: 5.00 Входящий трафик: 660.00 КБ "
            "Исходяший трафик 330.00 КБ\r\n";
    }
    WriteAll(root / "conn.log", Utf8ToCp1251(log));
    Set("General", "LogSize", "1");
    Start();
    meter->LogSizeCheck();
    const std::string cut = Log();
    EXPECT_LT(cut.size(), log.size());
    EXPECT_EQ(cut.rfind("Соединение начато: ", 0), 0u) << cut.substr(0, 80);
    EXPECT_EQ(cut.substr(cut.size() - 40), log.substr(log.size() - 40));
}

TEST_F(LogMeter, LimitBelowOneKilobyteCountsAsOne) {
    std::string log;
    for (int i = 0; i < 30; ++i) log += "\r\n" + std::string(98, 'x') + "\r\n";
    WriteAll(root / "conn.log", log);
    Set("General", "LogSize", "0");
    Start();
    meter->LogSizeCheck();
    EXPECT_GT(ReadAll(root / "conn.log").size(), 900u);
}

}  // namespace
}  // namespace kestrova::testing
