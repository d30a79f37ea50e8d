#include "platform/portable/portable_screen.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/drawing_surface.h"

namespace ecc200::platform {
namespace {

class PortableScreenTest : public ::testing::Test {
protected:
    // The dpi is process-wide; leave it as a fresh process finds it.
    void TearDown() override { SetPortableScreenDpi(kDefaultScreenDpi); }
};

void ExpectMetrics(const ScreenMetrics& m, int dpi, int horzSize, int vertSize) {
    EXPECT_EQ(m.logPixelsX, dpi);
    EXPECT_EQ(m.logPixelsY, dpi);
    EXPECT_EQ(m.horzRes, 1024);
    EXPECT_EQ(m.vertRes, 768);
    EXPECT_EQ(m.horzSize, horzSize);
    EXPECT_EQ(m.vertSize, vertSize);
}

// HORZSIZE and VERTSIZE are round(pixels x 25.4 / dpi), as GDI reports them.
TEST_F(PortableScreenTest, ReportsWhatGdiReportsAtEachDpi) {
    SetPortableScreenDpi(96);
    ExpectMetrics(GetScreenMetrics(), 96, 271, 203);
    SetPortableScreenDpi(120);
    ExpectMetrics(GetScreenMetrics(), 120, 217, 163);
    SetPortableScreenDpi(144);
    ExpectMetrics(GetScreenMetrics(), 144, 181, 135);
    SetPortableScreenDpi(72);
    ExpectMetrics(GetScreenMetrics(), 72, 361, 271);
}

TEST_F(PortableScreenTest, InvalidDpiSelectsTheDefault) {
    SetPortableScreenDpi(120);
    SetPortableScreenDpi(0);
    EXPECT_EQ(GetScreenMetrics().logPixelsX, 96);
    SetPortableScreenDpi(120);
    SetPortableScreenDpi(-144);
    EXPECT_EQ(GetScreenMetrics().logPixelsY, 96);
}

// The environment is read once, at the first use, so each case runs in a
// fresh copy of the test program: its exit status is the dpi it sees.
class ScreenEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

[[noreturn]] void ExitWithDpiAfter(const char* dpiVariable) {
    if (dpiVariable == nullptr) {
        unsetenv("ECC200_SCREEN_DPI");
    } else {
        setenv("ECC200_SCREEN_DPI", dpiVariable, 1);
    }
    std::exit(GetScreenMetrics().logPixelsX);
}

TEST_F(ScreenEnvironmentTest, DefaultsTo96WithoutTheVariable) {
    EXPECT_EXIT(ExitWithDpiAfter(nullptr), ::testing::ExitedWithCode(96), "");
}

TEST_F(ScreenEnvironmentTest, VariableSetsTheDpi) {
    EXPECT_EXIT(ExitWithDpiAfter("120"), ::testing::ExitedWithCode(120), "");
    EXPECT_EXIT(ExitWithDpiAfter("144"), ::testing::ExitedWithCode(144), "");
}

TEST_F(ScreenEnvironmentTest, MalformedVariableGives96) {
    for (const char* text : {"", "abc", "120dpi", "-120", "0", "99999999999999999999"}) {
        EXPECT_EXIT(ExitWithDpiAfter(text), ::testing::ExitedWithCode(96), "") << '"' << text << '"';
    }
}

TEST_F(ScreenEnvironmentTest, ExplicitSettingWinsOverTheVariable) {
    EXPECT_EXIT(
        {
            setenv("ECC200_SCREEN_DPI", "144", 1);
            SetPortableScreenDpi(120);
            std::exit(GetScreenMetrics().logPixelsX);
        },
        ::testing::ExitedWithCode(120), "");
}

TEST_F(ScreenEnvironmentTest, VariableIsReadOnlyOnce) {
    EXPECT_EXIT(
        {
            setenv("ECC200_SCREEN_DPI", "120", 1);
            const int first = GetScreenMetrics().logPixelsX;
            setenv("ECC200_SCREEN_DPI", "144", 1);
            std::exit(first == GetScreenMetrics().logPixelsX ? first : 1);
        },
        ::testing::ExitedWithCode(120), "");
}

}  // namespace
}  // namespace ecc200::platform
