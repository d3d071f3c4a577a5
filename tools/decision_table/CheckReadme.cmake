# Fails when the README's decision table differs from what decision_table prints;
# scripts/update-readme-table.sh rewrites it.
execute_process(COMMAND ${TABLE_EXE} OUTPUT_VARIABLE table RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "decision_table failed: ${rc}")
endif()
file(READ ${README} readme)
string(FIND "${readme}" "${table}" found)
if(found EQUAL -1)
    message(FATAL_ERROR "README.md's decision table is out of date: run scripts/update-readme-table.sh")
endif()
