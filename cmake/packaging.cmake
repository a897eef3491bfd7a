# The Debian package, built by `make package` (cpack in the build folder). Its dependencies
# come from dpkg-shlibdeps, so they follow whatever the binary really links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolmaris)
# The project's version, with its two decimals.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kolmaris-Entwicklung")
set(CPACK_PACKAGE_CONTACT "Kolmaris-Entwicklung <kolmaris@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Druckverlust in geraden Rohrleitungen berechnen")
# Debian shows the description as it stands, so it is broken into lines here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Kolmaris berechnet für Heizungs-, Sanitär- und Verfahrensingenieure, wie viel"
    "Druck eine Flüssigkeit oder ein Gas in einem geraden Rohr mit Kreisquerschnitt"
    "verliert: aus Innendurchmesser, Volumenstrom, Länge und Temperatur, für"
    "Wasser, Heizöl, Erdgas und Druckluft in Eisen-, Chromstahl-, Kunststoff- und"
    "Kupferrohren."
    ""
    "Die Ergebnisse (Geschwindigkeit, Reynolds-Zahl, Rohrreibungszahl, Druckverlust"
    "je Meter und gesamt) sammelt eine Tabelle, die sich als Excel-Arbeitsmappe"
    "speichern und wieder einlesen lässt.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/kolmaris/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts (the input boxes' context menu, the file dialogs) are German only with Qt's
# German catalogue, which no library pulls in; dpkg-shlibdeps adds the libraries after it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Only the binary package; a source tarball would sweep up the build folders.
set(CPACK_SOURCE_GENERATOR "")

include(CPack)
