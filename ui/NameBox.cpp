#include "ui/NameBox.h"

#include <QLineEdit>
#include <QToolTip>

NameValidator::NameValidator(std::function<std::string(const std::string&)> problem,
                             std::function<QString(const std::string&)> explain, QLineEdit* box)
    : QValidator(box), problem_(std::move(problem)), explain_(std::move(explain)), box_(box)
{
}

QValidator::State NameValidator::validate(QString& input, int&) const
{
    const std::string reason = problem_(input.toStdString());
    if (reason.empty())
        return Acceptable;
    QToolTip::showText(box_->mapToGlobal(QPoint(0, box_->height())), explain_(reason), box_);
    return Invalid;
}
