#pragma once

#include <QObject>

#include "capture/input_capture.h"

namespace velq::ui {

// Keys and mouse buttons while the program's own window has the focus: what a Wayland session
// lets a program see (its compositor shows no client the input of another). The events are
// watched, not taken: every one still reaches its widget. The sink is called on the window
// thread, as the events arrive.
class InWindowCapture final : public QObject, public InputCapture {
    Q_OBJECT

public:
    explicit InWindowCapture(CaptureTime time = SteadyMs);
    ~InWindowCapture() override;

    [[nodiscard]] bool Start(Sink sink, std::string& error) override;
    void Stop() override;
    bool Global() const override { return false; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CaptureTime time_;
    Sink sink_;
    bool started_ = false;
};

}  // namespace velq::ui
