// The file panels' refusal of special files.
#include "menus/file_dialogs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/toolkit_test.h"

// What a program would open or write and wait on for ever (a FIFO, also behind a link) or never finish
// (a device) is not handed back: each refusal has its line and a beep; files, folders and new names pass.
TEST(FilePanels, RefuseFifosAndDevicesWithALineAndABeep) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    const std::string dir = ::testing::TempDir() + "panels-" + std::to_string(::getpid());
    const std::string fifo = dir + "/fifo", file = dir + "/file.png", link = dir + "/link.png";
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
    std::fclose(std::fopen(file.c_str(), "w"));
    const auto url = [](const std::string& path) { return "file://" + path; };
    vx::test::TakeOwnLogLines();
    const int beeps = platform.BeepCount();

    platform.QueueOpenPanelAnswer({url(fifo), url(file), url(dir), url(dir + "/new.png"), url("/dev/zero")});
    EXPECT_EQ(OpenPanel("", "", "", true, true, true),
              (std::vector<std::string>{file, dir, dir + "/new.png"}));
    platform.QueueOpenPanelAnswer({url(link)});
    EXPECT_EQ(t_OpenDialog("", "", "", true, false), "");
    for (const std::string& path : {fifo, link, std::string("/dev/null"), file, dir + "/new.png"}) {
        platform.QueueSavePanelAnswer(url(path));
        EXPECT_EQ(SavePanel("", "", "", ""),
                  path.starts_with(dir + "/") && path != fifo && path != link ? path : "");
    }
    const std::string open = "OpenPanel: Not a regular file, refused: ",
                      save = "SavePanel: Not a regular file, refused: ";
    EXPECT_EQ(vx::test::TakeOwnLogLines(),
              (std::vector<std::string>{open + fifo, open + "/dev/zero", open + link, save + fifo,
                                        save + link, save + "/dev/null"}));
    EXPECT_EQ(platform.BeepCount() - beeps, 6);
    for (const std::string& path : {link, fifo, file}) std::remove(path.c_str());
    ::rmdir(dir.c_str());
}
