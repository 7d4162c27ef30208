#include "mdlSndAPI.h"

namespace mdlSndAPI {

void PlaySoundFile(const QString&, Alias, bool, qint16) {}

void CloseSoundAliases() {}

} // namespace mdlSndAPI
