#pragma once

#include <random>

#include <QString>

namespace tarvola::service {

// A path in tempDir of 8 characters drawn from a fixed 72-character alphabet and ".dat",
// naming no existing file.
QString UniqueTempFileName(const QString& tempDir, std::mt19937& random);

}  // namespace tarvola::service
