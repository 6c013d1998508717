#include "platform/QtScreenScale.h"

#include "store/Options.h"
#include "store/ScreenScale.h"

#include <QByteArray>
#include <QtGlobal>

#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

namespace {

template <typename T> std::unique_ptr<T, decltype(&std::free)> owned(T* reply) {
    return {reply, &std::free};
}

// The primary monitor as RandR 1.5 lists it, else the first one.
std::optional<DisplaySize> monitorSize(xcb_connection_t* x, xcb_window_t root) {
    const xcb_query_extension_reply_t* randr = xcb_get_extension_data(x, &xcb_randr_id);
    if (!randr || !randr->present) return std::nullopt;
    auto version =
        owned(xcb_randr_query_version_reply(x, xcb_randr_query_version(x, 1, 5), nullptr));
    if (!version || (version->major_version == 1 && version->minor_version < 5))
        return std::nullopt;
    auto monitors =
        owned(xcb_randr_get_monitors_reply(x, xcb_randr_get_monitors(x, root, 1), nullptr));
    if (!monitors) return std::nullopt;
    std::optional<DisplaySize> found;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        const DisplaySize size{it.data->width, it.data->height};
        if (it.data->primary) return size;
        if (!found) found = size;
    }
    return found;
}

// Asked of the X server directly, as Qt has no screens before it starts. On
// another platform (offscreen, Wayland) the size stays unknown.
std::optional<DisplaySize> displaySize() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if ((!platform.isEmpty() && !platform.startsWith("xcb")) ||
        qEnvironmentVariableIsEmpty("DISPLAY"))
        return std::nullopt;
    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    std::optional<DisplaySize> size;
    if (!xcb_connection_has_error(x)) {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        if (it.rem) {
            size = monitorSize(x, it.data->root);
            // Without RandR the root window is the display.
            if (!size) size = DisplaySize{it.data->width_in_pixels, it.data->height_in_pixels};
        }
    }
    xcb_disconnect(x);
    return size;
}

} // namespace

std::string DataDirectoryBeforeStart() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string() + "/";
}

void ChooseScreenScale(const std::string& dataDir) {
    // Faults in the file are told by the start-up; here its default serves.
    const std::string option =
        dataDir.empty() ? std::string("auto") : ReadOptions(dataDir).options.value("scale");
    const double factor =
        ScreenScale(displaySize().value_or(DisplaySize{}), FramedScreenSize, option);
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor));
}
