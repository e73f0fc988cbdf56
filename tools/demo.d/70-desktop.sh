# Desktop: version markers, launch stub, clipboard and typing (Linux stand-ins)
call "$DLL02" checkPlaxioVersion "$SAMPLES/version_beta.txt"
call "$DLL02" checkPlaxioVersion "$SAMPLES/version_4.txt"
call "$DLL02" checkPlaxioVersion "$SAMPLES/version_old.txt"
call "$DLL02" checkPlaxioVersion "$SAMPLES/missing.txt"
call "$DLL02" RunApp "Plaxio.exe"
call "$DLL02" RunApp @null
call "$DLL02" CopyToClipboard "no Plaxio window on Linux"
call "$DLL02" PasteText "Hello 123"
call "$DLL" PasteText "Hello 123"
