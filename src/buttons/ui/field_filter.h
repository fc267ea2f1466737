#pragma once

#include <QString>
#include <QValidator>

#include <string_view>

namespace velq::ui {

// The key filter of a number field: what the field's rule lets in. A validator rather than a
// key handler, so pasted, dropped and composed text pass through it too.
class FieldFilter final : public QValidator {
public:
    FieldFilter(bool (*accepts)(std::string_view), QObject* parent)
        : QValidator(parent), accepts_(accepts) {}

    State validate(QString& input, int& /*pos*/) const override {
        return accepts_(input.toStdString()) ? Acceptable : Invalid;
    }

private:
    bool (*accepts_)(std::string_view);
};

}  // namespace velq::ui
