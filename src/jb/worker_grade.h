// The technical grade a worker's grade wage stands for.
#pragma once

#include "common/gbk.h"

#include <cstdint>

namespace quvela::jb {

// 0 普工, 125 初级工, 155 中级工, 195 高级工, 270 技师, 410 高级技师; any other amount names
// no grade and gives the empty text.
GbkString workerGradeName(int32_t gradeWage);

} // namespace quvela::jb
