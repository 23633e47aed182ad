# Each area of the code base keeps its test targets in its own file under cmake/tests/.
foreach(Area Platform Link Host Integration StandIn Module Sandbox Input)
  include(${CMAKE_SOURCE_DIR}/cmake/tests/${Area}.cmake OPTIONAL)
endforeach()
