#include "about_box_model.h"

namespace tavrin {

AboutBoxTexts AboutBoxModel::texts() {
    if (!loaded_) loaded_ = aboutTextsOnLoad(version_);
    return *loaded_;
}

} // namespace tavrin
