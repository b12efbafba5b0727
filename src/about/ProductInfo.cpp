#include "about/ProductInfo.h"

namespace horlan {

ProductVersion Version() {
    return {HORLAN_VERSION_MAJOR, HORLAN_VERSION_MINOR, HORLAN_VERSION_PATCH,
            HORLAN_VERSION_REVISION};
}

} // namespace horlan
