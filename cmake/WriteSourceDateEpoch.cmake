# Run at build time (cmake -P): writes the build's SOURCE_DATE_EPOCH to OUTPUT, touching
# the file only when the value changed, so the shipped exes are linked again then.
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "$ENV{SOURCE_DATE_EPOCH}\n")
