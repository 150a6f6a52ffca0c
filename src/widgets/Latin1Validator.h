#pragma once

// Typing into a field whose text goes into the image as single bytes
// (names): printable Latin-1 only, so nothing is silently changed on the way.

#include <QValidator>

namespace veskar {

class Latin1Validator : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace veskar
