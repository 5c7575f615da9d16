# Command scripting in framecore: the command runner with its worker-thread
# base, the handler base class and the handlers of the script language.

target_sources(framecore PRIVATE
  cmdhandler.cpp cmdhandler.h
  cmdhandlercamera.cpp cmdhandlercamera.h
  cmdhandlercmp.cpp cmdhandlercmp.h
  cmdhandlergenicam.cpp cmdhandlergenicam.h
  cmdhandlerpeek.cpp cmdhandlerpeek.h
  cmdhandlerpoke.cpp cmdhandlerpoke.h
  cmdhandlerprompt.cpp cmdhandlerprompt.h
  cmdhandlersleep.cpp cmdhandlersleep.h
  cmdrunner.cpp cmdrunner.h
  signalwaiter.cpp signalwaiter.h
  viewerthread.cpp viewerthread.h
)
