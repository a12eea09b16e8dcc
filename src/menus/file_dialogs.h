// The open and save panels: modal on the user-interface thread, callable from any thread, handing back
// plain paths.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace vx {

// A string that a program may replace at any time from its thread while the user-interface thread reads
// it. Assign and read it like a std::string.
class SharedString {
  public:
    explicit SharedString(std::string value) : value_(std::move(value)) {}
    SharedString& operator=(std::string value) {
        std::lock_guard lock(mutex_);
        value_ = std::move(value);
        return *this;
    }
    operator std::string() const {
        std::lock_guard lock(mutex_);
        return value_;
    }
    std::string str() const { return *this; }

  private:
    mutable std::mutex mutex_;
    std::string value_;
};

// The path of a location the panels report: percent escapes decoded, precomposed (NFC), "file://"
// removed from the front. Exactly "file://" gives ""; anything else without that prefix comes back
// decoded and precomposed.
std::string PathFromFileUrl(const std::string& url);
// The text after the last "/"; the whole string when it has none; "" when it is empty or ends with "/".
std::string LastPathComponent(const std::string& path);
// File types split at every comma, nothing trimmed ("" gives one empty entry).
std::vector<std::string> SplitFileTypes(const std::string& fileTypes);

}  // namespace vx

// Button text of the open panel when only files can be chosen ("Öffnen") and when directories can be
// chosen ("Wählen"). A program may change them.
extern vx::SharedString OpenPromptText;
extern vx::SharedString ChoosePromptText;

// Runs the open panel; user-interface thread only. The chosen paths in the panel's order; empty when
// cancelled. An empty fileTypes allows every type.
std::vector<std::string> OpenPanel(const std::string& title, const std::string& message,
                                   const std::string& fileTypes, bool multiple, bool files, bool directories);
// Runs the save panel; user-interface thread only. The chosen path, "" when cancelled.
std::string SavePanel(const std::string& name, const std::string& title, const std::string& message,
                      const std::string& fileTypes);
// The first path chosen in a one-item open panel, "" when cancelled. Any thread: another thread waits
// until the panel has closed while the user interface keeps running; "" when the application quits.
std::string t_OpenDialog(const std::string& title, const std::string& message, const std::string& fileTypes,
                         bool files, bool directories);
// The path chosen in the save panel, "" when cancelled. Any thread, as t_OpenDialog.
std::string t_SaveDialog(const std::string& name, const std::string& title, const std::string& message,
                         const std::string& fileTypes);
