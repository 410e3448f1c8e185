# Compares the symbols that MODULE defines for the dynamic loader with the server's list.
execute_process(COMMAND nm -D --defined-only --format=just-symbols ${MODULE}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
string(REPLACE "\n" ";" symbols "${symbols}")
list(REMOVE_ITEM symbols "")
list(SORT symbols)
set(expected CLSID_RuleBaseCOM DllCanUnloadNow DllGetClassObject DllRegisterServer
             DllUnregisterServer IID_IRuleBaseCOM LIBID_Kelrun TavoTypeLib)
if(NOT symbols STREQUAL expected)
  message(FATAL_ERROR "exports: ${symbols}\nexpected: ${expected}")
endif()
