#pragma once
// A run-time error as the program's error trap reports it: a number and a description.
// The data layer raises its errors with the engine's numbers (3024, 3031, ...); the
// program's own code raises the runtime's numbers (13 type mismatch, ...).
#include <QString>
#include <stdexcept>

namespace vb {

class Error : public std::runtime_error
{
public:
    Error(int number, const QString &description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description)
    {}
    int number() const noexcept { return number_; }
    const QString &description() const noexcept { return description_; }

private:
    int number_;
    QString description_;
};

} // namespace vb
