# The layers of src/, one folder each, lowest first, with the layers each one
# builds on. A folder may include its own headers and those of every layer it
# reaches through this table (tests/include_layers.cmake, the ctest
# IncludesPointDownTheLayers, checks each include); its library or program
# links the layers named here (holvan_link_layers), the rest through them.
#
# holvan_layer(folder [layer...]): folder builds on the layers named.
macro(holvan_layer folder)
  list(APPEND HOLVAN_LAYERS ${folder})
  set(HOLVAN_LAYER_USES_${folder} ${ARGN})
endmacro()

set(HOLVAN_LAYERS "")
# Below the programs, none with Qt.
holvan_layer(random)
holvan_layer(text)
holvan_layer(errors text)
# The operating system: descriptors, locks, signals, threads, started
# programs, RAM limits, the user's language and command line.
holvan_layer(os text)
holvan_layer(files os errors)
holvan_layer(dates text)
holvan_layer(store files)
holvan_layer(conversation store dates random)
# The user's memory as the memory tools see it.
holvan_layer(memory store)
# The Platform of the running system.
holvan_layer(system conversation)
# The programs.
holvan_layer(term system)
holvan_layer(memory_cli memory)
# What both windows share.
holvan_layer(qt os errors)
holvan_layer(ui qt system)
holvan_layer(editor qt memory)

# holvan_layers_reached(folder result): the layers below folder that it
# reaches, each once, nearest first.
function(holvan_layers_reached folder result)
  set(reached "")
  set(waiting ${HOLVAN_LAYER_USES_${folder}})
  while(waiting)
    list(POP_FRONT waiting layer)
    if(NOT layer IN_LIST reached)
      list(APPEND reached ${layer})
      list(APPEND waiting ${HOLVAN_LAYER_USES_${layer}})
    endif()
  endwhile()
  set(${result} ${reached} PARENT_SCOPE)
endfunction()

# holvan_layer_target(folder result): the alias of folder's library,
# Holvan::<Folder> (memory_cli: Holvan::MemoryCli).
function(holvan_layer_target folder result)
  string(REPLACE "_" ";" words ${folder})
  set(name "")
  foreach(word ${words})
    string(SUBSTRING ${word} 0 1 first)
    string(TOUPPER ${first} first)
    string(SUBSTRING ${word} 1 -1 rest)
    string(APPEND name ${first}${rest})
  endforeach()
  set(${result} Holvan::${name} PARENT_SCOPE)
endfunction()

# holvan_link_layers(target folder PUBLIC|PRIVATE): target, made of folder's
# sources, links the layers folder builds on.
function(holvan_link_layers target folder visibility)
  foreach(layer ${HOLVAN_LAYER_USES_${folder}})
    holvan_layer_target(${layer} library)
    target_link_libraries(${target} ${visibility} ${library})
  endforeach()
endfunction()
