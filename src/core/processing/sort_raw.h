#pragma once

#include "processing_context.h"

#include <QString>

namespace dorodure {

// Files every clocking record of an upload under the site or sites whose
// checkpoint list holds its id, merging it into the sites' day files; appends
// "Done" to the upload file when it does not end with it. Throws FileError.
void SortRaw(ProcessingContext& ctx, const QString& uploadPath);

// SortRaw then ProcessRaw on "Raw.txt" of the data folder.
void DoRaw(ProcessingContext& ctx);

}  // namespace dorodure
