#include "base/BusyGuard.h"
#include "base/AlertInterval.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(BusyGuard, NestedGuardsKeepTheProgramBusyUntilTheOutermostEnds) {
    EXPECT_FALSE(BusyGuard::busy());
    EXPECT_EQ(BusyGuard::operation(), "");
    {
        BusyGuard outer("Transferência DI");
        EXPECT_TRUE(BusyGuard::busy());
        {
            BusyGuard inner("Gravando adições");
            EXPECT_EQ(BusyGuard::operation(), "Transferência DI");
        }
        EXPECT_TRUE(BusyGuard::busy());
    }
    EXPECT_FALSE(BusyGuard::busy());
}

TEST(BusyGuard, AnOperationEndingWithAnErrorIsNoLongerBusy) {
    try {
        BusyGuard busy("Exportação");
        throw std::runtime_error("falhou");
    } catch (const std::exception&) {
    }
    EXPECT_FALSE(BusyGuard::busy());
}

TEST(AlertInterval, UnitsFromTheSettingsFile) {
    EXPECT_EQ(AlertInterval::fromSettings("1", "1"), 3600000);
    EXPECT_EQ(AlertInterval::fromSettings("15", "0"), 15 * 60000);
    // No unit chosen ("-1"), a missing key or anything else counts in minutes.
    EXPECT_EQ(AlertInterval::fromSettings("2", "-1"), 120000);
    EXPECT_EQ(AlertInterval::fromSettings("2", ""), 120000);
    EXPECT_EQ(AlertInterval::fromSettings(" 3 ", "Horas"), 180000);
}

TEST(AlertInterval, IntervalsThatWouldFireWithoutPauseOrOverflowAreRefused) {
    for (const char* bad : {"", "abc", "0", "-5", "1,5", "999999999"})
        EXPECT_THROW(AlertInterval::fromSettings(bad, "0"), std::exception) << bad;
    EXPECT_THROW(AlertInterval::fromSettings("597", "1"), std::exception); // beyond what the timer holds
    EXPECT_EQ(AlertInterval::fromSettings("596", "1"), 596 * 3600000);
}

TEST(AlertInterval, UnitTextsOfTheSettingsWindow) {
    EXPECT_EQ(AlertInterval::fromUnitText("5", "MINUTOS"), 300000);
    EXPECT_EQ(AlertInterval::fromUnitText("2", "HORAS"), 7200000);
    EXPECT_EQ(AlertInterval::fromUnitText("abc", ""), std::nullopt); // no unit: the interval is not read
    EXPECT_THROW(AlertInterval::fromUnitText("abc", "MINUTOS"), std::exception);
}
