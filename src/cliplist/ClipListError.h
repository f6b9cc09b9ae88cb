// Misuse of the list is reported to the caller as a numbered error; the caller picks the policy.
#pragma once

#include <stdexcept>
#include <string>

namespace cliplist {

enum ErrorNumber {
    kErrInvalidArgument = 5,
    kErrOverflow = 6,
    kErrSubscript = 9,
    kErrInvalidPropertyValue = 380,
    kErrInvalidIndex = 381,
};

class ClipListError : public std::runtime_error {
public:
    ClipListError(int number, const std::string& what) : std::runtime_error(what), number_(number) {}
    int number() const { return number_; }

private:
    int number_;
};

}  // namespace cliplist
