# Shared widgets of framecore: the report viewer with its find dialog and XML
# highlighting, small dialogs for plugins, the plot key chooser, and the
# GenICam feature tree with the feature-bound editors. Forms live beside the
# classes that load them.

find_package(Qt5 COMPONENTS PrintSupport REQUIRED)

target_sources(framecore PRIVATE
  finddialog.cpp finddialog.h
  listdialog.cpp listdialog.h listdialog.ui
  plotchooserwidget.cpp plotchooserwidget.h
  popupinfo.cpp popupinfo.h
  reportform.cpp reportform.h reportform.ui
  xmlhighlighter.cpp xmlhighlighter.h
)
target_link_libraries(framecore PUBLIC Qt5::PrintSupport)
set_target_properties(framecore PROPERTIES AUTOUIC ON)

target_sources(framecore PRIVATE
  enumselector.cpp enumselector.h
  genapidelegate.cpp genapidelegate.h
  genapimetatypes.h
  genicammodel.cpp genicammodel.h
  genicamparamsdialog.cpp genicamparamsdialog.h genicamparamsdialog.ui
)

target_sources(framecore PRIVATE
  genicombobox.cpp genicombobox.h
  genidoublespinbox.cpp genidoublespinbox.h
  genispinbox.cpp genispinbox.h
  nodecallback.h
)

target_sources(framecore PRIVATE
  filesettingswidget.cpp filesettingswidget.h
  settingswidget.cpp settingswidget.h
)
