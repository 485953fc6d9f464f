# The layers, bottom up. A library links only libraries of lower layers, so that no adapter
# depends on a front end and no layer on one beside it; checked when the build is configured.
set(SG_LAYERS
    "sg_model sg_form"
    "sg_protocol"
    "sg_transfer"
    "sg_presenter sg_simdir sg_remote"
    "sg_qtcore sg_win32 sg_ui sg_sim"
    "sg_cli"
    "sg_app_link"
    "sg_app_window")

function(sg_check_layers)
  set(rank 0)
  foreach(layer IN LISTS SG_LAYERS)
    separate_arguments(names UNIX_COMMAND "${layer}")
    foreach(name IN LISTS names)
      set(rank_${name} ${rank})
    endforeach()
    math(EXPR rank "${rank} + 1")
  endforeach()
  foreach(layer IN LISTS SG_LAYERS)
    separate_arguments(names UNIX_COMMAND "${layer}")
    foreach(name IN LISTS names)
      if(NOT TARGET ${name})
        continue()
      endif()
      # Both properties, and every name inside a generator expression such as
      # $<BUILD_INTERFACE:...>, so that no spelling of a link slips past.
      get_target_property(private ${name} LINK_LIBRARIES)
      get_target_property(public ${name} INTERFACE_LINK_LIBRARIES)
      string(REGEX MATCHALL "sg_[A-Za-z0-9_]+" links "${private};${public}")
      foreach(link IN LISTS links)
        if(DEFINED rank_${link} AND NOT rank_${link} LESS rank_${name})
          message(FATAL_ERROR "${name} links ${link}, which is not in a layer below it")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
