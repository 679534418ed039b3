#include "processing_context.h"

#include "shell/text_file.h"

namespace dorodure {

QString ProcessingContext::path(const QString& name) const {
    return textfile::join(dataFolder, name);
}

}  // namespace dorodure
