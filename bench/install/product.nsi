; The install benchmark's product as an NSIS installer, the peer that
; bench-install.sh measures against: the same payload into one directory.
; makensis -DPAYLOAD=DIR -DOUTFILE=EXE -X"SetCompressor zlib" product.nsi
Name "KvBench"
OutFile "${OUTFILE}"
InstallDir "C:\KvBenchNsis"
RequestExecutionLevel user

Section
  SetOutPath "$INSTDIR"
  File /r "${PAYLOAD}\*.*"
SectionEnd
