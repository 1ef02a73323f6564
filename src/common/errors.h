// Errors that end an operation and reach the standard error box.
#pragma once

#include "common/gbk.h"

#include <stdexcept>

namespace quvela {

// An error with a message for the clerk; the message is GBK text.
class QuvelaError : public std::runtime_error
{
public:
    explicit QuvelaError(GbkString message)
        : std::runtime_error(message), m_message(std::move(message)) {}
    const GbkString &message() const { return m_message; }

private:
    GbkString m_message;
};

// A strict conversion failed: "'%s' is not a valid integer value" and the like.
class ConversionError : public QuvelaError
{
public:
    using QuvelaError::QuvelaError;
};

} // namespace quvela
