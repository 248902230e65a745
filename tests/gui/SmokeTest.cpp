#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

TEST(TestEnvironment, UsesPrivateHomeAndOffscreen) {
    EXPECT_EQ(QGuiApplication::platformName(), "offscreen");
    EXPECT_TRUE(QDir::homePath().contains("quexo-test-"));
}
