#pragma once

#include <QAbstractButton>
#include <QPixmap>
#include <QString>

namespace velq::ui {

// A skin picture by resource name with its decoded pixels.
struct NamedPicture {
    QString name;
    QPixmap pixmap;
};

// A button drawn with the skin: its normal picture, the picture with the pointer over it and
// the pressed one, with its caption centred on top in its own font and text colour. It takes
// the normal picture's size and never the keyboard focus, which stays in the dialog's field.
class PictureButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit PictureButton(QWidget* parent = nullptr);

    void SetPictures(NamedPicture normal, NamedPicture hover, NamedPicture pressed);
    // The resource name of the picture it shows now.
    const QString& ShownPicture() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    NamedPicture normal_;
    NamedPicture hover_;
    NamedPicture pressed_;
    bool pointer_over_ = false;
};

// A check box drawn with the skin: the picture of its state ("CbS_D" clear, "CbS_E" ticked)
// with its caption beside it. A click anywhere on it toggles it; it never takes the focus.
class PictureCheckBox : public QAbstractButton {
    Q_OBJECT

public:
    explicit PictureCheckBox(QWidget* parent = nullptr);

    void SetPictures(NamedPicture clear, NamedPicture ticked);
    const QString& ShownPicture() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    static constexpr int kGap = 4;  // between the picture and the caption

    NamedPicture clear_;
    NamedPicture ticked_;
};

}  // namespace velq::ui
