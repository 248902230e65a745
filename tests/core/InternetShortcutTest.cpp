#include "app/InternetShortcut.h"

#include <gtest/gtest.h>

TEST(InternetShortcut, UrlOfItsGroupInAnyCaseAndLineEnd) {
    EXPECT_EQ(InternetShortcutUrl("[InternetShortcut]\r\nURL=https://a.example/x?y=1\r\n"),
              "https://a.example/x?y=1");
    EXPECT_EQ(InternetShortcutUrl("[{000214A0-0000-0000-C000-000000000046}]\nURL=http://wrong/\n"
                                  " [internetshortcut] \nIconIndex=0\n url = http://b.example/ \n"
                                  "URL=http://second/\n"),
              "http://b.example/")
        << "other groups skipped, blanks trimmed, the first wins";
    EXPECT_EQ(InternetShortcutUrl("[InternetShortcut]\nURL=https://no-final-newline"),
              "https://no-final-newline");
}

TEST(InternetShortcut, NothingWithoutGroupKeyOrValue) {
    EXPECT_FALSE(InternetShortcutUrl(""));
    EXPECT_FALSE(InternetShortcutUrl("URL=https://a.example/\n"));
    EXPECT_FALSE(InternetShortcutUrl("[InternetShortcut]\nURLS=https://a.example/\n"));
    EXPECT_FALSE(InternetShortcutUrl("[InternetShortcut]\nURL=\nURL=https://a.example/\n"));
    EXPECT_FALSE(InternetShortcutUrl("[InternetShortcut]\n[Other]\nURL=https://a.example/\n"));
    EXPECT_FALSE(InternetShortcutUrl(std::string("\x00\xff[", 3)));
}

TEST(InternetShortcut, OnlyWebAddresses) {
    EXPECT_TRUE(IsWebAddress("https://a.example/"));
    EXPECT_TRUE(IsWebAddress("HTTP://a.example/"));
    for (const char* url :
         {"file:///bin/sh", "javascript:alert(1)", "ftp://a.example/", "http:", "a.example", ""})
        EXPECT_FALSE(IsWebAddress(url)) << url;
}
