// Reading another program's clipboard over X11: an X server of the test's own (Xvfb) and a clipboard
// owner on a thread of the test, which answers at once or in pieces (INCR) and refuses other targets.
#include "shell/x11_clipboard.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <utility>

namespace {

using vx::shell::ReadX11ClipboardText;
using namespace std::chrono_literals;

// Xvfb, set as DISPLAY while the test runs and stopped at the end. The display number is drawn at random
// (tests run side by side, and a server just ended may still hold the lowest free number); the server
// writes it to a pipe, or ends when the number is taken.
class XServer {
  public:
    XServer() {
        std::random_device random;
        for (int attempt = 0; attempt < 10 && display_.empty(); ++attempt) {
            const std::string number = std::to_string(100 + random() % 30000);
            int fds[2];
            if (::pipe(fds) != 0) return;
            pid_ = ::fork();
            if (pid_ == 0) {
                ::close(fds[0]);
                ::dup2(::open("/dev/null", O_WRONLY), STDERR_FILENO);
                const std::string fd = std::to_string(fds[1]);
                ::execlp("Xvfb", "Xvfb", (":" + number).c_str(), "-displayfd", fd.c_str(), "-nolisten", "tcp",
                         "-noreset", "-screen", "0", "64x64x24", static_cast<char*>(nullptr));
                ::_exit(127);
            }
            ::close(fds[1]);
            // The number comes first and the line's end once clients are accepted.
            std::string ready;
            char c = 0;
            pollfd readable{fds[0], POLLIN, 0};
            while (pid_ > 0 && c != '\n' && ::poll(&readable, 1, 10000) == 1 && ::read(fds[0], &c, 1) == 1)
                ready += c;
            if (!ready.empty() && ready.back() == '\n')
                display_ = ":" + number;
            else if (pid_ > 0)
                Stop(std::exchange(pid_, -1));
            ::close(fds[0]);
        }
        if (display_.empty()) return;
        if (const char* old = std::getenv("DISPLAY")) oldDisplay_ = old;
        ::setenv("DISPLAY", display_.c_str(), 1);
    }
    ~XServer() {
        if (!oldDisplay_.empty())
            ::setenv("DISPLAY", oldDisplay_.c_str(), 1);
        else
            ::unsetenv("DISPLAY");
        if (pid_ > 0) Stop(pid_);
    }
    bool running() const { return !display_.empty(); }

  private:
    static void Stop(pid_t server) {
        ::kill(server, SIGTERM);
        ::waitpid(server, nullptr, 0);
    }

    pid_t pid_ = -1;
    std::string display_, oldDisplay_;
};

enum class Answer { Whole, InPieces };

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// Owns CLIPBOARD and answers one request for UTF8_STRING as `answer` says; pieces are `piece` bytes long.
class ClipboardOwner {
  public:
    ClipboardOwner(std::string text, Answer answer, std::size_t piece = 1000)
        : text_(std::move(text)), answer_(answer), piece_(piece), c_(xcb_connect(nullptr, nullptr)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        window_ = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_set_selection_owner(c_, window_, Atom(c_, "CLIPBOARD"), XCB_CURRENT_TIME);
        incr_ = Atom(c_, "INCR");  // a round trip: the server owns up to the owner before a reader asks
        utf8_ = Atom(c_, "UTF8_STRING");
        xcb_flush(c_);
        thread_ = std::thread([this] { Serve(); });
    }
    ~ClipboardOwner() {
        stop_ = true;
        thread_.join();
        xcb_disconnect(c_);
    }

  private:
    xcb_generic_event_t* Next() {
        while (!stop_) {
            if (xcb_generic_event_t* e = xcb_poll_for_event(c_)) return e;
            pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
            ::poll(&fd, 1, 10);
        }
        return nullptr;
    }

    void Put(xcb_window_t window, xcb_atom_t property, std::size_t from, std::size_t length) {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, property, utf8_, 8, std::uint32_t(length),
                            text_.data() + from);
    }

    void Serve() {
        xcb_selection_request_event_t request{};
        while (xcb_generic_event_t* e = Next()) {
            const bool isRequest = (e->response_type & 0x7F) == XCB_SELECTION_REQUEST;
            if (isRequest) request = *reinterpret_cast<xcb_selection_request_event_t*>(e);
            std::free(e);
            if (isRequest) break;
        }
        if (stop_) return;
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = request.target != utf8_ ? xcb_atom_t(XCB_ATOM_NONE) : request.property;
        const bool pieces = answer_ == Answer::InPieces;
        if (!pieces) {
            Put(request.requestor, request.property, 0, text_.size());
        } else {
            const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(c_, request.requestor, XCB_CW_EVENT_MASK, &events);
            const auto size = std::uint32_t(text_.size());
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, request.requestor, request.property, incr_, 32, 1,
                                &size);
        }
        xcb_send_event(c_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(c_);
        if (!pieces) return;
        // Each deletion of the property asks for the next piece; an empty piece ends the text.
        std::size_t sent = 0;
        bool ended = false;
        while (!ended) {
            xcb_generic_event_t* e = Next();
            if (e == nullptr) return;
            const auto& change = *reinterpret_cast<xcb_property_notify_event_t*>(e);
            const bool deleted = (e->response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
                                 change.window == request.requestor && change.atom == request.property &&
                                 change.state == XCB_PROPERTY_DELETE;
            std::free(e);
            if (!deleted) continue;
            const std::size_t length = std::min(piece_, text_.size() - sent);
            Put(request.requestor, request.property, sent, length);
            xcb_flush(c_);
            sent += length;
            ended = length == 0;
        }
    }

    std::string text_;
    Answer answer_;
    std::size_t piece_;
    xcb_connection_t* c_;
    xcb_window_t window_ = 0;
    xcb_atom_t incr_ = 0, utf8_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Bytes that differ from place to place, so that a piece out of place or a wrong cut shows.
std::string Numbered(std::size_t n) {
    std::string text;
    for (std::size_t i = 0; text.size() < n; ++i) text += std::to_string(i) + ' ';
    text.resize(n);
    return text;
}

TEST(X11Clipboard, TextIsReadWholeOrInPiecesUpToTheLimitAndCountedToTheEnd) {
    XServer server;
    if (!server.running()) GTEST_SKIP() << "no Xvfb";

    auto read = ReadX11ClipboardText(100, 2s);
    EXPECT_TRUE(read.answered && !read.hasText && read.total == 0) << "nobody owns the clipboard";

    const std::string text = "Grüße, Welt!\n\tzweite Zeile";
    {
        ClipboardOwner owner(text, Answer::Whole);
        read = ReadX11ClipboardText(1000, 5s);
        EXPECT_TRUE(read.answered && read.hasText && read.complete);
        EXPECT_EQ(read.text, text);
        EXPECT_EQ(read.total, text.size());
    }
    {
        ClipboardOwner owner(text, Answer::Whole);
        // Not a whole number of 32-bit words, and more than six of them: the request asks for enough.
        read = ReadX11ClipboardText(25, 5s);
        EXPECT_EQ(read.text, text.substr(0, 25));
        EXPECT_EQ(read.total, text.size());
        EXPECT_TRUE(read.complete);
    }

    const std::string large = Numbered(2500);
    {
        ClipboardOwner owner(large, Answer::InPieces);
        read = ReadX11ClipboardText(1500, 5s);
        EXPECT_TRUE(read.answered && read.hasText && read.complete);
        EXPECT_EQ(read.text, large.substr(0, 1500));
        EXPECT_EQ(read.total, 2500u);
    }
    {
        ClipboardOwner owner(large, Answer::InPieces);
        read = ReadX11ClipboardText(3000, 5s);
        EXPECT_EQ(read.text, large);
        EXPECT_EQ(read.total, 2500u);
    }
}

}  // namespace
