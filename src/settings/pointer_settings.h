#pragma once

#include <functional>

#include "settings/pointer_backend.h"

namespace velq {

// The pointer settings as the advanced page holds them: slider positions 1..11 (0 before the
// first read, which writes nothing for that setting), the two options, and the wheel position
// remembered while one screen per notch is ticked.
struct PointerPage {
    int speed = 0;
    bool precision = false;
    int double_click = 0;
    int wheel = 0;
    bool one_screen = false;
};

// What the page shows and what it changed, over a backend (or none: then the values are kept
// and shown and nothing is said). Only what the user changed on the page since the last read
// is written, on the change itself and again on Apply: the stored value of a setting the user
// never touched keeps whatever precision the desktop gave it (GNOME's 400 ms double-click
// would otherwise come back as 340 ms).
class PointerSettings {
public:
    explicit PointerSettings(PointerBackend* backend = nullptr) : backend_(backend) {}

    void SetBackend(PointerBackend* backend) { backend_ = backend; }
    PointerBackend* backend() const { return backend_; }
    const PointerPage& page() const { return page_; }

    // Called after every successful write with the values now in force for the double-click
    // time (ms) and the wheel lines (-1 for a screen), so the program's own window follows.
    using Listener = std::function<void(const PointerValues&)>;
    void SetListener(Listener listener) { listener_ = std::move(listener); }

    // Reads the stored values into the page. Nothing changes for a group the session does not
    // store; the page forgets what the user had changed, since it now shows the stored values.
    [[nodiscard]] PointerResult Refresh();

    // The user's changes: each takes effect on the page at once and is written at once.
    [[nodiscard]] PointerResult SetSpeed(int position);
    [[nodiscard]] PointerResult SetPrecision(bool ticked);
    [[nodiscard]] PointerResult SetDoubleClick(int position);
    [[nodiscard]] PointerResult SetWheel(int position);
    [[nodiscard]] PointerResult SetOneScreen(bool ticked);

    // Apply: writes again every setting the user changed since the last read.
    [[nodiscard]] PointerResult Apply();

    // The stored values the page's settings give, for the settings named by `which`.
    enum Setting : unsigned { kSpeed = 1, kPrecision = 2, kDoubleClick = 4, kWheel = 8 };
    PointerValues ValuesOf(unsigned which) const;

private:
    [[nodiscard]] PointerResult Write(unsigned which);

    PointerBackend* backend_;
    PointerPage page_;
    unsigned touched_ = 0;
    Listener listener_;
};

}  // namespace velq
