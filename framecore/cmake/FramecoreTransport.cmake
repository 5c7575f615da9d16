# The GenTL transport of framecore: the producer binding, the device port and
# the description loader. Producers are loaded by path, never linked; the
# node map comes from genapi, zipped descriptions are listed with QuaZip.

find_package(QuaZip-Qt5 REQUIRED)

target_sources(framecore PRIVATE
  descriptionloader.cpp descriptionloader.h
  genapifuncs.h
  gentlexcept.cpp gentlexcept.h
  gentlinterface.cpp gentlinterface.h
  gentlport.cpp gentlport.h
  producerbinding.cpp producerbinding.h
)
target_link_libraries(framecore PUBLIC genapi gentl PRIVATE QuaZip::QuaZip)
