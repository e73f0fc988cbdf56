# Version and vertex counts, in both editions
call "$DLL" Version
call "$DLL02" Version
call "$DLL" GetVertsVyX "$SAMPLES/grid.vyx" 0
call "$DLL02" GetVertsVyx "$SAMPLES/grid.vyx" 0
call "$DLL" GetVertsOBJ "$SAMPLES/cube.obj"
call "$DLL02" GetVertsOBJ "$SAMPLES/cube.obj"
call "$DLL" GetVertsVyX "$SAMPLES/missing.vyx" 0
