#include "menus/file_dialogs.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/program.h"
#include "support/toolkit_test.h"

TEST(FilePaths, ComeFromFileUrlsDecodedAndPrecomposed) {
    const struct {
        const char* url;
        const char* path;
        const char* name;
    } cases[] = {
        {"file:///home/a/b%20c.txt", "/home/a/b c.txt", "b c.txt"},
        {"file:///tmp/A%CC%88pfel.png", "/tmp/\u00C4pfel.png", "\u00C4pfel.png"},  // decomposed in the URL
        {"file://", "", ""},
        {"", "", ""},
        {"file:///tmp/dir/", "/tmp/dir/", ""},
        {"relative%20name", "relative name", "relative name"},  // not a file URL: decoded all the same
        {"file:///100%25", "/100%", "100%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vx::PathFromFileUrl(c.url), c.path) << c.url;
        EXPECT_EQ(vx::LastPathComponent(c.path), c.name) << c.url;
    }
}

TEST(FilePaths, FileTypesSplitAtEveryCommaWithNothingTrimmed) {
    using List = std::vector<std::string>;
    EXPECT_EQ(vx::SplitFileTypes(""), List{""});
    EXPECT_EQ(vx::SplitFileTypes("txt,csv"), (List{"txt", "csv"}));
    EXPECT_EQ(vx::SplitFileTypes(",png, bmp,"), (List{"", "png", " bmp", ""}));
}

TEST(FilePanels, AskWithTheGermanDefaultsAndHandBackPaths) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.QueueOpenPanelAnswer({"file:///a/x%20y.txt", "file:///a/z.txt"});
    platform.QueueOpenPanelAnswer({});
    platform.QueueSavePanelAnswer("file:///tmp/x.png");

    std::string opened, cancelled, saved;
    // From the program's thread: the panels run on the user-interface thread while the caller waits.
    std::thread([&] {
        opened = t_OpenDialog("Bild", "Welches Bild?", "txt,csv", true, false);
        cancelled = t_OpenDialog("", "", "", true, false);
        saved = t_SaveDialog("Bild.png", "Sichern", "Wohin?", "");
    }).join();
    EXPECT_EQ(opened, "/a/x y.txt");
    EXPECT_EQ(cancelled, "");
    EXPECT_EQ(saved, "/tmp/x.png");

    const std::vector<vx::OpenPanelRequest> open = platform.OpenPanelRequests();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0].buttonText, "Öffnen");
    EXPECT_EQ(open[0].title, "Bild");
    EXPECT_EQ(open[0].message, "Welches Bild?");
    EXPECT_EQ(open[0].fileTypes, (std::vector<std::string>{"txt", "csv"}));
    EXPECT_FALSE(open[0].multiple);
    EXPECT_TRUE(open[1].fileTypes.empty());  // every type allowed
    const std::vector<vx::SavePanelRequest> save = platform.SavePanelRequests();
    ASSERT_EQ(save.size(), 1u);
    EXPECT_EQ(save[0].buttonText, "Sichern");
    EXPECT_EQ(save[0].nameFieldLabel, "Sichern unter:");
    EXPECT_EQ(save[0].proposedName, "Bild.png");
    EXPECT_EQ(save[0].fileTypes, std::vector<std::string>{""});

    // Choosing directories changes the button; the program may rename both buttons.
    ChoosePromptText = "Ordner nehmen";
    EXPECT_EQ(OnUserInterfaceThread([] { return OpenPanel("", "", "", true, true, true); }),
              std::vector<std::string>{});
    OpenPromptText = "Laden";
    EXPECT_EQ(t_OpenDialog("", "", "", true, false), "");
    EXPECT_EQ(platform.OpenPanelRequests()[2].buttonText, "Ordner nehmen");
    EXPECT_EQ(platform.OpenPanelRequests()[3].buttonText, "Laden");
    EXPECT_EQ(vx::test::TakeLogLines(), std::vector<std::string>{});  // cancelling is not an error
}
