// What the fuzz targets share: a private scratch directory to write their inputs into.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Makes a scratch directory once per process, makes it the working directory, and returns it.
const std::string& fuzzDir();

// Writes the fuzzer's bytes to `name` in the scratch directory.
void writeInput(const std::string& name, const std::uint8_t* data, std::size_t size);
