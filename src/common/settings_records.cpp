#include "common/settings_records.h"

namespace quvela {

TXtcs xjcs;
TZwcs zwcs;
TJbcs jbcs;
TJgcs jgcs;

} // namespace quvela
