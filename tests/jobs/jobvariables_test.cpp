// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#include "jobs/jobvariables.h"

#include <gtest/gtest.h>

TEST(JobVariables, DirectoryUntilLevel) {
    const struct {
        const char* path;
        int level;
        const char* result;
    } cases[] = {
        {"/mnt/prj/shot/x.ma", 2, "/mnt/prj/"},
        {"/mnt/prj/shot/x.ma", 1, "/mnt/"},
        {"/mnt/prj/shot/x.ma", 0, "/mnt/"},
        {"/mnt/prj/shot/x.ma", 3, "/mnt/prj/shot/"},
        {"/mnt/prj/shot/x.ma", 4, "/mnt/prj/shot/x.ma"},
        {"C:/a/b/c.ma", 1, "C:/a/"},
        {"C:/a/b/c.ma", 2, "C:/a/b/"},
        {"//server/share/prj/x", 1, "//server/"},
        {"//server/share/prj/x", 2, "//server/share/"},
        {"a/b/", 1, "a/b/"},
        {"prj/shot/x", 1, "prj/"},
        {"", 3, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kxJ::getDirectoryUntilNo(QString::fromLatin1(c.path), c.level),
                  QString::fromLatin1(c.result))
            << c.path << " level " << c.level;
}
