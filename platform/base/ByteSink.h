#pragma once

#include <cstddef>
#include <functional>

// Takes the bytes of a file piece by piece, in order, as an encoder makes them.
using TByteSink = std::function<void(const char* data, std::size_t size)>;

// Makes the bytes of a file and hands them to the sink it is given.
using TByteWriter = std::function<void(const TByteSink& sink)>;
