// Tries what another local user might: attach a System V shared-memory segment and read it.
//
//   shm_peek SHMID     exit 0 and "attached N bytes" when it could, 1 and the reason when not
//
// private_frame_e2e.sh runs it under another user's ids against the game's frame segment.
#include <sys/shm.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: shm_peek SHMID\n");
    return 2;
  }
  const int id = std::atoi(argv[1]);
  const void* at = shmat(id, nullptr, SHM_RDONLY);
  if (at == reinterpret_cast<void*>(-1)) {
    std::printf("cannot attach segment %d: %s\n", id, std::strerror(errno));
    return 1;
  }
  shmid_ds info{};
  shmctl(id, IPC_STAT, &info);
  // Touch every byte, as a reader of the pixels would.
  unsigned sum = 0;
  for (size_t i = 0; i < info.shm_segsz; ++i)
    sum += static_cast<const unsigned char*>(at)[i];
  std::printf("attached %zu bytes (sum %u)\n", static_cast<size_t>(info.shm_segsz), sum);
  shmdt(at);
  return 0;
}
