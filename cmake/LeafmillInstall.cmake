# Where an installation puts things: programs in bin/, the shipped main.ini,
# languages and pictures in share/leafmill/. The programs find that folder
# relative to their own, so an unpacked tree works wherever it lies.
include(GNUInstallDirs)
set(LEAFMILL_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/leafmill")
file(RELATIVE_PATH LEAFMILL_DATA_FROM_PROGRAM
  "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${LEAFMILL_DATA_INSTALL_DIR}")
