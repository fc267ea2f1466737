// Layouts and captions of the main window: planning and applying a language's layout, the
// caption tables, and the arrangements that follow from both.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "shell/caption_assignments.h"
#include "shell/ui/main_window.h"
#include "shell/ui/main_window_detail.h"
#include "shell/ui/message_presenter.h"
#include "shell/ui/picture_source.h"
#include "shell/ui/skin_label.h"
#include "shell/ui/skin_slider.h"
#include "shell/ui/widget_step.h"

namespace velq::ui {

using detail::CaptionFont;
using detail::ToQString;

LayoutPage MainWindow::CurrentLayoutPage() const {
    switch (page_) {
        case Page::kOffice:
            return LayoutPage::kOffice;
        case Page::kGaming:
            return LayoutPage::kGaming;
        case Page::kAdvanced:
            return LayoutPage::kAdvanced;
        case Page::kLight:
            return LayoutPage::kLight;
        case Page::kMacro:
            return LayoutPage::kMacro;
        case Page::kFire:
            return LayoutPage::kOffice;
        case Page::kEngineering:
            return LayoutPage::kEngineering;
    }
    return LayoutPage::kOffice;
}

LayoutContext MainWindow::ContextOf(int language) const {
    LayoutContext context;
    context.language = language;
    context.current_page = CurrentLayoutPage();
    context.gun_display = org_.gun_display;
    context.num_order = org_.num_order;
    return context;
}

std::shared_ptr<const LayoutSteps> MainWindow::StepsOf(LayoutPlan plan) {
    auto steps = std::make_shared<LayoutSteps>();
    steps->ops = std::move(plan.ops);
    // The web buttons' place is a program setting, not part of the language's layout.
    std::vector<LayoutOp> web = WebButtonOps(org_);
    steps->ops.reserve(steps->ops.size() + web.size());
    std::move(web.begin(), web.end(), std::back_inserter(steps->ops));
    steps->part.reserve(steps->ops.size());
    // Most controls have several steps: each name is looked up once.
    std::unordered_map<std::string_view, int8_t> pages;
    pages.reserve(steps->ops.size() / 2);
    for (const LayoutOp& op : steps->ops) {
        auto [known, added] = pages.try_emplace(op.control, int8_t{0});
        if (added) {
            known->second = static_cast<int8_t>(PartIndexOf(QString::fromStdString(op.control)));
        }
        steps->part.push_back(known->second);
    }
    steps->style = plan.style;
    steps->dialogs = std::move(plan.dialogs);
    return steps;
}

ShellResult MainWindow::TakeStartLayout(const LayoutContext& context,
                                        LayoutResult<LayoutPlan> plan) {
    // Start-up applies language 1's layout twice over (the second time through the language
    // button's action) with the same inputs: the plan is made once.
    if (!plan) {
        return {false, QString::fromStdString(plan.error.message)};
    }
    start_context_ = context;
    start_steps_ = StepsOf(std::move(*plan.value));
    return {};
}

ShellResult MainWindow::ApplyLayout(int language) {
    if (language < kFirstLanguageNumber || language > kLastLanguageNumber) {
        return {false, QStringLiteral("There is no language %1").arg(language)};
    }
    const LayoutContext context = ContextOf(language);
    // The plan is complete before the first control changes, so a faulty layout leaves the
    // window exactly as it was.
    std::shared_ptr<const LayoutSteps> steps;
    if (start_steps_ && start_context_ == context) {
        steps = start_steps_;
    } else {
        LayoutResult<LayoutPlan> plan = services_.layout(context);
        if (!plan) {
            return {false, QString::fromStdString(plan.error.message)};
        }
        steps = StepsOf(std::move(*plan.value));
    }
    // Every picture is looked up first, those of parts not built yet too: a missing one stops
    // the layout before anything changed.
    if (ShellResult checked = CheckPictures(*steps); !checked) {
        return checked;
    }
    // The steps of parts not built yet wait for their part; the others run now, in order.
    std::array<std::vector<uint32_t>, kPartCount> waiting;
    std::vector<uint32_t> now;
    now.reserve(steps->ops.size());
    for (uint32_t i = 0; i < steps->ops.size(); ++i) {
        const int part = steps->part[i];
        if (part < 0 || parts_[static_cast<size_t>(part)]->built()) {
            now.push_back(i);
        } else {
            waiting[static_cast<size_t>(part)].push_back(i);
        }
    }
    for (size_t part = 0; part < parts_.size(); ++part) {
        if (!parts_[part]->built()) {
            parts_[part]->KeepLayout(steps, std::move(waiting[part]));
        }
    }
    for (const uint32_t i : now) {
        if (ShellResult step = RunLayoutOp(steps->ops[i]); !step) {
            return step;
        }
    }
    language_ = language;
    style_ = steps->style;
    dialog_steps_ = steps->dialogs;
    ApplyCaptions(captions());
    IndentOptionCaptions();
    ArrangeParts();
    Restack();
    emit languageChanged(language);
    return {};
}

ShellResult MainWindow::CheckPictures(const LayoutSteps& steps) const {
    for (const LayoutOp& op : steps.ops) {
        const bool pictured = op.kind == LayoutOpKind::kPicture ||
                              op.kind == LayoutOpKind::kSliderThumb ||
                              op.kind == LayoutOpKind::kSliderTrack;
        if (pictured && (services_.pictures == nullptr ||
                         services_.pictures->PictureDimensions(op.text).isEmpty())) {
            return {false,
                    QStringLiteral("Missing picture resource \"%1\" for %2")
                        .arg(QString::fromStdString(op.text), QString::fromStdString(op.control))};
        }
    }
    return {};
}

void MainWindow::ArrangeParts() {
    for (const auto& part : parts_) {
        if (part->built()) {
            part->Arrange();
        }
    }
}

QWidget* MainWindow::LaidOutControl(const QString& name) {
    // A step measured against a control of another part that is not built yet builds that
    // part first, so the measure is the laid-out one.
    if (OnUnbuiltPart(name)) {
        parts_[static_cast<size_t>(PartIndexOf(name))]->Build();
    }
    return EnsureControl(name);
}

ShellResult MainWindow::RunLayoutOp(const LayoutOp& op) {
    QWidget* widget = EnsureControl(QString::fromStdString(op.control));
    if (RunWidgetStep(*widget, op)) {
        return {};
    }
    switch (op.kind) {
        case LayoutOpKind::kMove:
        case LayoutOpKind::kSetWidth:
        case LayoutOpKind::kSetHeight:
        case LayoutOpKind::kFontSize:
        case LayoutOpKind::kFontColor:
        case LayoutOpKind::kBackColor:
        case LayoutOpKind::kBorderColor:
            break;  // the widget's own steps, run above
        case LayoutOpKind::kShow:
            ShowControl(widget);
            break;
        case LayoutOpKind::kHide:
            HideControl(widget);
            break;
        case LayoutOpKind::kPicture:
            if (!SetPicture(widget->objectName(), QString::fromStdString(op.text))) {
                return {false, QStringLiteral("Missing picture resource \"%1\" for %2")
                                   .arg(QString::fromStdString(op.text), widget->objectName())};
            }
            break;
        case LayoutOpKind::kSliderThumb:
        case LayoutOpKind::kSliderTrack: {
            auto* slider = qobject_cast<SkinSlider*>(widget);
            const QImage image =
                services_.pictures != nullptr ? services_.pictures->Picture(op.text) : QImage();
            if (image.isNull()) {
                return {false, QStringLiteral("Missing picture resource \"%1\" for %2")
                                   .arg(QString::fromStdString(op.text), widget->objectName())};
            }
            if (slider != nullptr) {
                op.kind == LayoutOpKind::kSliderThumb ? slider->SetThumb(image)
                                                      : slider->SetTrack(image);
            }
            break;
        }
        case LayoutOpKind::kFitToPicture: {
            const QWidget* ref = LaidOutControl(QString::fromStdString(op.reference));
            widget->setGeometry(ref->x() + op.x, ref->y() + op.y, ref->width() + op.value,
                                ref->height() + op.extra);
            break;
        }
        case LayoutOpKind::kMoveInRow: {
            const QWidget* ref = LaidOutControl(QString::fromStdString(op.reference));
            widget->move(op.x + op.value * (ref->width() + op.extra), op.y);
            break;
        }
    }
    return {};
}

void MainWindow::ApplyCaptions(const CaptionTable& table, int part) {
    // Which controls take their caption now: those of the one part being built, or those of
    // every part built so far.
    const auto takes_caption = [this, part](const QString& control) {
        return part >= 0 ? PartIndexOf(control) == part : !OnUnbuiltPart(control);
    };
    if (part < 0) {
        const QFont font = CaptionFont(this->font(), language_, table.Caption("FontName"));
        setFont(font);
        if (services_.messages != nullptr) {
            services_.messages->SetFontFamilies(font.families());
        }
    }
    for (const CaptionAssignment& assignment : BuildCaptionAssignments(table)) {
        const QString control = ToQString(assignment.control);
        if (!takes_caption(control)) {
            continue;
        }
        QWidget* widget = EnsureControl(control);
        const QString text = QString::fromStdString(assignment.text);
        if (assignment.use == CaptionUse::kListItem) {
            if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                while (combo->count() <= assignment.item) {
                    combo->addItem(QString());
                }
                combo->setItemText(assignment.item, text);
            }
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(text);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(text);
        }
    }
    if (part >= 0) {
        return;
    }
    // The button labels (Key1 .. Key9, the factory page's btn_Key101 .. btn_Key209) show the
    // names of the configuration's function codes: their pages name them again on arranging.
    // A name found back from its caption would be ambiguous ("Pare" is media stop and web stop).
    QApplication::setApplicationDisplayName(ToQString(table.Caption("Title")));
}

void MainWindow::IndentOptionCaptions() {
    // An option's caption label starts a little left of its check or radio picture and lies
    // over it; its text starts after the picture, so the two never overlap.
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        auto* label = qobject_cast<SkinLabel*>(it.value());
        if (label == nullptr || label->alignment() & Qt::AlignHCenter) {
            continue;
        }
        int indent = -1;
        for (QObject* child : label->parentWidget()->children()) {
            auto* picture = qobject_cast<QLabel*>(child);
            if (picture == nullptr || picture == label ||
                !picture->isVisibleTo(label->parentWidget())) {
                continue;
            }
            const QString skin = shown_pictures_.value(picture);
            if (!skin.startsWith(QStringLiteral("CbS_")) &&
                !skin.startsWith(QStringLiteral("RdS_"))) {
                continue;
            }
            const QRect box = picture->geometry();
            if (box.intersects(label->geometry()) && box.left() - label->x() <= 8) {
                indent = std::max(indent, box.right() + 1 - label->x() + 4);
            }
        }
        label->setIndent(indent);
    }
}

}  // namespace velq::ui
