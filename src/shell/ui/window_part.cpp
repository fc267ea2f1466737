#include "shell/ui/window_part.h"

#include <QMouseEvent>
#include <QWidget>

#include <cstdio>
#include <functional>

#include "shell/ui/main_window.h"

namespace velq::ui {
namespace {

// Turns a left click on a picture into a call, as the picture's caption label would.
class ClickForwarder final : public QObject {
public:
    ClickForwarder(QWidget& picture, std::function<void()> clicked)
        : QObject(&picture), clicked_(std::move(clicked)) {
        picture.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The press is taken too, so that the release comes back to the picture.
        if (event->type() == QEvent::MouseButtonPress) {
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const auto* picture = static_cast<QWidget*>(watched);
            if (mouse->button() == Qt::LeftButton &&
                picture->rect().contains(mouse->position().toPoint())) {
                clicked_();
                return true;
            }
        }
        return false;
    }

private:
    std::function<void()> clicked_;
};

}  // namespace

WindowPart::WindowPart(MainWindow& window, int index, QWidget* container)
    : QObject(&window), window_(window), index_(index), container_(container) {
    if (container_ == nullptr) {
        container_ = new QWidget(&window);
        container_->setObjectName(QStringLiteral("gbPage%1").arg(index + 1));
        container_->setVisible(index == kOfficePart);
    }
}

WindowPart::~WindowPart() = default;

QWidget* WindowPart::Control(const QString& name) const {
    return window_.Control(name);
}

bool WindowPart::SetPicture(const QString& control, const QString& picture) {
    return window_.SetPicture(control, picture);
}

bool WindowPart::SetPictureKeepingSize(const QString& control, const QString& picture) {
    QWidget* widget = Control(control);
    const QSize size = widget != nullptr ? widget->size() : QSize();
    const bool shown = SetPicture(control, picture);
    if (widget != nullptr) {
        widget->resize(size);
    }
    return shown;
}

void WindowPart::ClickThrough(const QString& picture, const QString& label) {
    if (QWidget* widget = Control(picture)) {
        new ClickForwarder(*widget, [this, label] { static_cast<void>(LabelClicked(label)); });
    }
}

void WindowPart::Adopt(QWidget* control) {
    if (!control->objectName().isEmpty()) {
        window_.controls_.insert(control->objectName(), control);
        window_.part_index_of_.insert(control->objectName(), index_);
    }
    Register(control);
}

void WindowPart::Build() {
    if (built_ || !window_.started_) {
        return;
    }
    built_ = true;
    window_.CreatePartControls(index_);
    // What the window did to this part's controls before and after the layout it keeps,
    // around the layout itself: a label fitted to its picture is fitted to the picture the
    // layout saw.
    ApplyKeptPictures(pictures_before_layout_);
    const std::shared_ptr<const LayoutSteps> layout = std::move(layout_);
    const std::vector<uint32_t> steps = std::move(steps_);
    layout_.reset();
    steps_.clear();
    for (const uint32_t i : steps) {
        if (ShellResult step = window_.RunLayoutOp(layout->ops[i]); !step) {
            std::fprintf(stderr, "%s\n", qPrintable(step.error));
        }
    }
    window_.ApplyCaptions(window_.captions(), index_);
    ApplyKeptPictures(pictures_since_layout_);
    Built();
    window_.PartBuilt(*this);
}

void WindowPart::KeepLayout(std::shared_ptr<const LayoutSteps> layout,
                            std::vector<uint32_t> steps) {
    layout_ = std::move(layout);
    steps_ = std::move(steps);
    // Pictures set so far are in place when the new layout measures them.
    for (auto it = pictures_since_layout_.cbegin(); it != pictures_since_layout_.cend(); ++it) {
        pictures_before_layout_.insert(it.key(), it.value());
    }
    pictures_since_layout_.clear();
}

void WindowPart::KeepPicture(const QString& control, const QString& picture) {
    pictures_since_layout_.insert(control, picture);
}

void WindowPart::ApplyKeptPictures(QHash<QString, QString>& pictures) {
    for (auto it = pictures.cbegin(); it != pictures.cend(); ++it) {
        static_cast<void>(window_.SetPicture(it.key(), it.value()));
    }
    pictures.clear();
}

void WindowPart::HideMenus() {
    for (QWidget* control : controls_) {
        const QString name = control->objectName();
        if (name.startsWith(QStringLiteral("Pnl_")) || name == QStringLiteral("LB_Name") ||
            name == QStringLiteral("LB_Script")) {
            control->hide();
        }
    }
}

}  // namespace velq::ui
