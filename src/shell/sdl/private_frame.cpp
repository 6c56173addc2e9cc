// The frame on its way to the X server stays the game's own: the shared memory that carries it is
// open to the game's user alone.
//
// On X11, SDL 2.26 hands each frame to the server through a MIT-SHM segment that it makes with
// shmget(IPC_PRIVATE, size, IPC_CREAT | 0777), so any local user could attach it and read, or
// paint into, the frame in flight; SDL has no setting for the mode. The program therefore defines
// shmget itself: the dynamic linker binds SDL's call to this definition before the C library's,
// and the segment is made with the owner's permission bits only. A local X server attaches it as
// before (it checks the permissions against the game's own user); a server that cannot refuses it,
// and SDL then sends the frame over the connection instead, as it does for a remote display.
#include <dlfcn.h>
#include <sys/shm.h>
#include <sys/stat.h>

#include <cerrno>

namespace {

using ShmGetFunction = int (*)(key_t, size_t, int);

constexpr int kOthersBits = S_IRWXG | S_IRWXO;  // group and others: no access at all

}  // namespace

extern "C" int shmget(key_t key, size_t size, int flags) noexcept {
  // The C library's own shmget: the next definition after this program's.
  static const auto libraryShmGet = reinterpret_cast<ShmGetFunction>(dlsym(RTLD_NEXT, "shmget"));
  if (libraryShmGet == nullptr) {
    errno = ENOSYS;  // SDL then sends frames without shared memory
    return -1;
  }
  return libraryShmGet(key, size, flags & ~kOthersBits);
}
