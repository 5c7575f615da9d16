# The camera of framecore: the open camera object, its GenICam value helpers
# and the acquisition worker with the bookkeeping of its stream buffers.

target_sources(framecore PRIVATE
  acquisitionworker.cpp acquisitionworker.h
  camerainterface.cpp camerainterface.h
  genicamiface.cpp genicamiface.h
  semaphore.h
  streambuffers.cpp streambuffers.h
)
