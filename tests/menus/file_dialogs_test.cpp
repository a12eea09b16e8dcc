#include "menus/file_dialogs.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/toolkit_test.h"

TEST(FilePaths, ComeFromFileUrlsDecodedAndPrecomposed) {
    const struct {
        const char* url;
        const char* path;
        const char* name;
    } cases[] = {
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

// Called from the program's thread, a panel runs on the user-interface thread while the caller waits.
TEST(FilePanels, HandBackTheFirstPathWithTheButtonsTheProgramNamedAndTypesSplitAsGiven) {
    vx::HeadlessPlatform& platform = vx::test::StartToolkit();
    platform.QueueOpenPanelAnswer({"file:///a/x%20y.txt", "file:///a/z.txt"});
    OpenPromptText = "Laden";
    ChoosePromptText = "Ordner nehmen";
    std::string opened = "unset", chosen = "unset", saved = "unset";
    std::thread([&] {
        opened = t_OpenDialog("", "", ",png, bmp,", true, false);
        chosen = t_OpenDialog("", "", "", false, true);
        saved = t_SaveDialog("", "", "", "");
    }).join();
    EXPECT_EQ(opened, "/a/x y.txt");
    EXPECT_EQ(chosen, "");
    EXPECT_EQ(saved, "");
    const std::vector<vx::OpenPanelRequest> open = platform.OpenPanelRequests();
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[0].buttonText, "Laden");
    EXPECT_EQ(open[0].fileTypes, (std::vector<std::string>{"", "png", " bmp", ""}));  // nothing trimmed
    EXPECT_FALSE(open[0].multiple);
    EXPECT_EQ(open[1].buttonText, "Ordner nehmen");
    EXPECT_TRUE(open[1].fileTypes.empty());  // every type allowed
    EXPECT_EQ(platform.SavePanelRequests().at(0).fileTypes, std::vector<std::string>{""});
    EXPECT_TRUE(vx::test::TakeLogLines().empty());  // cancelling is not an error
}
