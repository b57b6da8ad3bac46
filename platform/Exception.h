// The program's own error class: what handlers raise and the exception display reports.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string &message)
        : std::runtime_error(message)
    {
    }
};
