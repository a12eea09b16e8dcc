#include "shell/x11_clipboard.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace vx::shell {

namespace {

using Clock = std::chrono::steady_clock;

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <class T>
Reply<T> Owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const auto reply = Owned(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The next event that `wanted` accepts, or null at the deadline or when the connection fails.
Reply<xcb_generic_event_t> WaitForEvent(xcb_connection_t* c, Clock::time_point deadline,
                                        const std::function<bool(const xcb_generic_event_t&)>& wanted) {
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            if (wanted(*event)) return Owned(event);
            std::free(event);
        }
        if (xcb_connection_has_error(c) != 0) return Owned<xcb_generic_event_t>(nullptr);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return Owned<xcb_generic_event_t>(nullptr);
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        ::poll(&fd, 1, int(left.count()) + 1);
    }
}

Reply<xcb_get_property_reply_t> Property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property,
                                         bool remove, std::size_t bytes) {
    const auto words = std::uint32_t(std::min<std::size_t>(bytes / 4 + 1, 0x3FFFFFFF));
    return Owned(xcb_get_property_reply(
        c, xcb_get_property(c, remove, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, words), nullptr));
}

void Append(X11ClipboardText& out, const xcb_get_property_reply_t& reply, std::size_t limit) {
    const auto* bytes = static_cast<const char*>(xcb_get_property_value(&reply));
    const auto length = std::size_t(xcb_get_property_value_length(&reply));
    if (out.text.size() < limit) out.text.append(bytes, std::min(length, limit - out.text.size()));
}

}  // namespace

X11ClipboardText ReadX11ClipboardText(std::size_t limit, std::chrono::milliseconds wait) {
    X11ClipboardText out;
    const Clock::time_point deadline = Clock::now() + wait;
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, &screenNumber), &xcb_disconnect);
    xcb_connection_t* c = connection.get();
    if (xcb_connection_has_error(c) != 0) return out;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
    if (screens.rem == 0) return out;

    const xcb_atom_t clipboard = Atom(c, "CLIPBOARD"), utf8 = Atom(c, "UTF8_STRING"), incr = Atom(c, "INCR");
    const xcb_atom_t property = Atom(c, "VXTOOLS_CLIPBOARD");
    const auto owner =
        Owned(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE) {
        out.answered = true;
        return out;
    }
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    xcb_convert_selection(c, window, clipboard, utf8, property, XCB_CURRENT_TIME);
    xcb_flush(c);

    const auto notify = WaitForEvent(c, deadline, [](const xcb_generic_event_t& e) {
        return (e.response_type & 0x7F) == XCB_SELECTION_NOTIFY;
    });
    if (!notify) return out;
    out.answered = true;
    if (reinterpret_cast<const xcb_selection_notify_event_t*>(notify.get())->property == XCB_ATOM_NONE)
        return out;
    auto reply = Property(c, window, property, true, limit);
    if (!reply) return out;
    out.hasText = true;
    if (reply->type != incr) {
        Append(out, *reply, limit);
        out.total = std::size_t(xcb_get_property_value_length(reply.get())) + reply->bytes_after;
        out.complete = true;
        return out;
    }
    // Large texts come in pieces, each put into the property after the last was taken. Beyond the limit
    // they are only counted, and at the deadline the owner is left to give up on the rest by itself.
    xcb_flush(c);
    std::size_t received = 0;
    for (;;) {
        const auto piece = WaitForEvent(c, deadline, [&](const xcb_generic_event_t& e) {
            if ((e.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
            const auto& change = reinterpret_cast<const xcb_property_notify_event_t&>(e);
            return change.atom == property && change.state == XCB_PROPERTY_NEW_VALUE;
        });
        if (!piece) break;
        reply = Property(c, window, property, true, 1 << 20);
        xcb_flush(c);
        if (!reply) break;
        const auto length = std::size_t(xcb_get_property_value_length(reply.get()));
        if (length == 0) {
            out.complete = true;
            break;
        }
        received += length;
        Append(out, *reply, limit);
    }
    out.total = received;
    return out;
}

}  // namespace vx::shell
