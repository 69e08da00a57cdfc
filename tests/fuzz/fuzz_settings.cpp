// Start-up reading hand-edited settings, and the windows placed by them.

#include <cmath>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/settings.h"
#include "core/window_place.h"
#include "platform/form.h"
#include "platform/headless/headless_platform.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using tosbel::AppState;
using tosbel::HeadlessPlatform;
using tosbel::WindowPlace;

// A window the size of the main window and of the roster editor.
class Window final : public tosbel::Form {
public:
    explicit Window(tosbel::Platform& p) : Form(p) {
        width = 12000;
        height = 9000;
    }
};

// "Section/Key=value" lines, as someone might type them into the settings;
// lines of another shape are skipped.
void storeLines(std::string_view input, tosbel::SettingsStore& store) {
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::size_t slash = line.find('/');
        if (slash == std::string_view::npos) continue;
        const std::size_t equals = line.find('=', slash);
        if (equals == std::string_view::npos) continue;
        const std::string_view value = line.substr(equals + 1);
        store.save(line.substr(0, slash), line.substr(slash + 1, equals - slash - 1), value);

        // A position the program stores reads back as the same number.
        const float twips = tosbel::positionFromText(value);
        FUZZ_REQUIRE(std::isfinite(twips));
        FUZZ_REQUIRE(tosbel::positionFromText(tosbel::positionText(twips)) == twips);
    }
}

constexpr const WindowPlace* kPlaces[] = {&tosbel::kMainWindowPlace, &tosbel::kRosterEditorPlace};

struct Placed {
    int top, left;
    bool operator==(const Placed&) const = default;
};

// Start-up as the program does it, then each window shown at its place.
std::vector<Placed> startAndPlace(HeadlessPlatform& platform, AppState& s) {
    tosbel::readLogoOption(s, platform.settings());
    tosbel::readStartupSettings(s, platform.settings(), platform.screen());
    std::vector<Placed> shown;
    for (const WindowPlace* place : kPlaces) {
        Window window(platform);
        tosbel::placeWindow(window, s, *place);
        shown.push_back({window.top, window.left});
    }
    return shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = tosbel::fuzz::bytesOf(data, size);
    HeadlessPlatform platform;
    // The first four bytes are the screen's width and height in pixels.
    if (input.size() >= 4) {
        const auto pixels = [&](std::size_t i) {
            return static_cast<float>(data[i] | data[i + 1] << 8) * 15;
        };
        platform.screenSize = {pixels(0), pixels(2)};
        input.remove_prefix(4);
    }
    storeLines(input, platform.store);

    AppState first;
    const std::vector<Placed> shown = startAndPlace(platform, first);
    // Each window closes where it was shown; the next start-up shows it there
    // again.
    for (std::size_t i = 0; i < shown.size(); ++i) {
        Window window(platform);
        window.top = shown[i].top;
        window.left = shown[i].left;
        tosbel::saveWindowPlace(window, first, *kPlaces[i]);
    }
    AppState next;
    FUZZ_REQUIRE(startAndPlace(platform, next) == shown);
    return 0;
}
