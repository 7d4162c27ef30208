#include "mdlSndAPI.h"

namespace mdlSndAPI {

void PlaySoundFile(const QString&, const QString&, bool, qint16) {}

void CloseSoundAliases() {}

} // namespace mdlSndAPI
