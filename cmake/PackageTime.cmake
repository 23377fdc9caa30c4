# Read by cpack when it builds the package: the files it installs into its
# staging folder carry no capabilities into the .deb, so none are set there
# (the package's postinst sets them on the installed programs).
set(ENV{VIGILON_SETCAP} no)
