#pragma once

// Umbrella header: the whole public interface of libmarlix.

#include "marlix/cvt/foot_label.h"
#include "marlix/cvt/ink_label.h"
#include "marlix/cvt/keycode_label.h"
#include "marlix/cvt/label_cvt.h"
#include "marlix/cvt/label_cvt_factory.h"
#include "marlix/cvt/label_template.h"
#include "marlix/cvt/prefix_label.h"
#include "marlix/cvt/special_samples.h"
#include "marlix/cvt/timecode_label.h"
#include "marlix/export.h"
#include "marlix/host/host_config.h"
#include "marlix/host/host_services.h"
#include "marlix/host/library_entry.h"
#include "marlix/host/tokeniser.h"
#include "marlix/types/label_types.h"
#include "marlix/values/label.h"
#include "marlix/values/label_point.h"
#include "marlix/version.h"
