#pragma once
#include "support/temp_folder.h"
