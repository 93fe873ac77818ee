#pragma once
// Name boxes that stop taking characters once the name would not fit its field in the radio.
// Characters are not all equal there (some take three bytes), so a box's character limit alone
// would let a name through that the field then cuts; the box asks the program's name rule
// instead, and a refused keystroke says why in a tooltip at the box.
#include <functional>
#include <string>

#include <QString>
#include <QValidator>

class QLineEdit;

class NameValidator : public QValidator {
    Q_OBJECT
public:
    // `problem` gives "" for a name that fits, otherwise its reason; `explain` turns that reason
    // into the text the tooltip shows.
    NameValidator(std::function<std::string(const std::string&)> problem, std::function<QString(const std::string&)> explain,
                  QLineEdit* box);
    State validate(QString& input, int& position) const override;

private:
    std::function<std::string(const std::string&)> problem_;
    std::function<QString(const std::string&)> explain_;
    QLineEdit* box_;
};
