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

namespace velq::ui {

using detail::CaptionFont;
using detail::ColourOf;
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

std::shared_ptr<const MainWindow::LayoutSteps> MainWindow::StepsOf(LayoutPlan plan) {
    auto steps = std::make_shared<LayoutSteps>();
    steps->ops = std::move(plan.ops);
    // The web buttons' place is a program setting, not part of the language's layout.
    std::vector<LayoutOp> web = WebButtonOps(org_);
    steps->ops.reserve(steps->ops.size() + web.size());
    std::move(web.begin(), web.end(), std::back_inserter(steps->ops));
    steps->page.reserve(steps->ops.size());
    // Most controls have several steps: each name is looked up once.
    std::unordered_map<std::string_view, int8_t> pages;
    pages.reserve(steps->ops.size() / 2);
    for (const LayoutOp& op : steps->ops) {
        auto [known, added] = pages.try_emplace(op.control, int8_t{0});
        if (added) {
            known->second = static_cast<int8_t>(PageIndexOf(QString::fromStdString(op.control)));
        }
        steps->page.push_back(known->second);
    }
    steps->style = plan.style;
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
    // The steps of pages not built yet wait for their page; their pictures are looked up now,
    // so that a missing one stops here, before anything changed.
    std::array<std::vector<uint32_t>, std::tuple_size_v<decltype(deferred_ops_)>> waiting;
    std::vector<uint32_t> now;
    now.reserve(steps->ops.size());
    for (uint32_t i = 0; i < steps->ops.size(); ++i) {
        const int page = steps->page[i];
        if (page < 0 || page_built_[static_cast<size_t>(page)]) {
            now.push_back(i);
            continue;
        }
        const LayoutOp& op = steps->ops[i];
        const bool pictured = op.kind == LayoutOpKind::kPicture ||
                              op.kind == LayoutOpKind::kSliderThumb ||
                              op.kind == LayoutOpKind::kSliderTrack;
        if (pictured && (services_.pictures == nullptr ||
                         services_.pictures->PictureDimensions(op.text).isEmpty())) {
            return {false,
                    QStringLiteral("Missing picture resource \"%1\" for %2")
                        .arg(QString::fromStdString(op.text), QString::fromStdString(op.control))};
        }
        waiting[static_cast<size_t>(page)].push_back(i);
    }
    // Pictures the window set before this layout are there when the layout measures them.
    for (auto it = deferred_pictures_.cbegin(); it != deferred_pictures_.cend(); ++it) {
        pictures_under_layout_.insert(it.key(), it.value());
    }
    deferred_pictures_.clear();
    for (size_t page = 0; page < waiting.size(); ++page) {
        if (!page_built_[page]) {
            deferred_ops_[page] = WaitingSteps{steps, std::move(waiting[page])};
        }
    }
    for (const uint32_t i : now) {
        if (ShellResult step = RunLayoutOp(steps->ops[i]); !step) {
            return step;
        }
    }
    language_ = language;
    style_ = steps->style;
    ApplyCaptions(captions());
    PlaceMenuEntries();
    IndentOptionCaptions();
    FitKeyLabels();
    ApplyLightingEntries();
    Restack();
    emit languageChanged(language);
    return {};
}

QWidget* MainWindow::LaidOutControl(const QString& name) {
    // A step measured against a control of another page that is not built yet builds that
    // page first, so the measure is the laid-out one.
    if (Find(name) == nullptr && OnUnbuiltPage(name)) {
        BuildPart(PageIndexOf(name));
    }
    return EnsureControl(name);
}

ShellResult MainWindow::RunLayoutOp(const LayoutOp& op) {
    QWidget* widget = EnsureControl(QString::fromStdString(op.control));
    switch (op.kind) {
        case LayoutOpKind::kMove:
            widget->move(op.x, op.y);
            break;
        case LayoutOpKind::kSetWidth:
            widget->resize(op.value, widget->height());
            break;
        case LayoutOpKind::kSetHeight:
            widget->resize(widget->width(), op.value);
            break;
        case LayoutOpKind::kShow:
            ShowControl(widget);
            break;
        case LayoutOpKind::kHide:
            HideControl(widget);
            break;
        case LayoutOpKind::kFontSize: {
            // Only the size is set here; the family comes from the window (the caption font).
            QFont font;
            font.setPointSize(std::max(1, op.value));
            widget->setFont(font);
            break;
        }
        case LayoutOpKind::kFontColor: {
            QPalette palette = widget->palette();
            const QColor colour = ColourOf(static_cast<uint32_t>(op.value));
            for (QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
                palette.setColor(role, colour);
            }
            widget->setPalette(palette);
            break;
        }
        case LayoutOpKind::kBackColor: {
            QPalette palette = widget->palette();
            const QColor colour = ColourOf(static_cast<uint32_t>(op.value));
            palette.setColor(QPalette::Window, colour);
            palette.setColor(QPalette::Base, colour);
            widget->setPalette(palette);
            widget->setAutoFillBackground(true);
            break;
        }
        case LayoutOpKind::kBorderColor:
            widget->setProperty("borderColor", ColourOf(static_cast<uint32_t>(op.value)));
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

void MainWindow::ApplyCaptions(const CaptionTable& table, int page) {
    // Which controls take their caption now: those of the one page being built, or those of
    // every page built so far.
    const auto takes_caption = [this, page](const QString& control) {
        return page >= 0 ? PageIndexOf(control) == page : !OnUnbuiltPage(control);
    };
    if (page < 0) {
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
    // Wrapped option captions break at their first "-".
    const auto wrap = [this, &takes_caption](const char* name, bool enabled) {
        const QString control = QString::fromUtf8(name);
        auto* label = qobject_cast<QLabel*>(Find(control));
        if (label == nullptr || !enabled || !takes_caption(control)) {
            return;
        }
        const QString text = label->text();
        const qsizetype dash = text.indexOf(QLatin1Char('-'));
        if (dash >= 0) {
            label->setText(text.left(dash) + QStringLiteral(" \n") + text.mid(dash + 1));
        }
    };
    wrap("IB_ReleaseStop", style_.release_stop_wrap);
    wrap("IB_ReleaseContiue", style_.release_continue_wrap);
    if (page >= 0) {
        return;
    }
    FillDpiLists(table);
    // The button labels (Key1 .. Key9, the factory page's btn_Key101 .. btn_Key209) show the
    // names of the function codes the device flows hold: they rename them on languageChanged.
    // A name found back from its caption would be ambiguous ("Pare" is media stop and web stop).
    QApplication::setApplicationDisplayName(ToQString(table.Caption("Title")));
}

void MainWindow::FillDpiLists(const CaptionTable& table) {
    // The DPI lists of the engineering view offer the value names of the table.
    for (int level = 1; level <= 7; ++level) {
        auto* list = qobject_cast<QComboBox*>(Find(QStringLiteral("cb_CPI%1").arg(level)));
        if (list == nullptr) {
            continue;
        }
        const int chosen = list->currentIndex();
        list->clear();
        for (int value = 0; value < 12; ++value) {
            char key[8];
            std::snprintf(key, sizeof key, "Str3%02d", value);
            list->addItem(ToQString(table.Caption(key)));
        }
        list->setCurrentIndex(std::max(chosen, 0));
    }
}

void MainWindow::PlaceMenuEntries() {
    // Markers stand on their entry's row at its full width, the text right-aligned.
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        if (!it.key().startsWith(QStringLiteral("ST_"))) {
            continue;
        }
        const QString entry = QStringLiteral("Key_") + it.key().mid(3);
        if (const QWidget* row = Find(entry)) {
            it.value()->setGeometry(row->geometry());
            it.value()->raise();
        }
    }
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

void MainWindow::FitKeyLabels() {
    // A button slot's caption stands centred on its slot picture, which is taller than a line
    // of text.
    for (int n = 1; n <= 9; ++n) {
        auto* label = qobject_cast<QLabel*>(Find(QStringLiteral("Key%1").arg(n)));
        const QWidget* picture = Find(QStringLiteral("Img_Key%1").arg(n));
        if (label == nullptr || picture == nullptr) {
            continue;
        }
        label->setGeometry(label->x(), picture->y(), label->width(), picture->height());
        label->setAlignment(Qt::AlignCenter);
    }
}

}  // namespace velq::ui
