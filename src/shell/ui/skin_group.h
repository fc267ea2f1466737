#pragma once

#include <QGroupBox>

namespace velq::ui {

// A holder of controls that lie on a page picture: the picture behind draws the panel, so the
// group draws no frame, only its title when it has one. (A style sheet would do the same, but
// it fixes the group's font when first polished, and a later language's font would never
// reach the group and its controls.)
class SkinGroup final : public QGroupBox {
public:
    explicit SkinGroup(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velq::ui
