#include "jb/worker_grade.h"

namespace quvela::jb {

GbkString workerGradeName(int32_t gradeWage)
{
    switch (gradeWage) {
    case 0: return gbk::fromUtf8("普工");
    case 125: return gbk::fromUtf8("初级工");
    case 155: return gbk::fromUtf8("中级工");
    case 195: return gbk::fromUtf8("高级工");
    case 270: return gbk::fromUtf8("技师");
    case 410: return gbk::fromUtf8("高级技师");
    default: return {};
    }
}

} // namespace quvela::jb
