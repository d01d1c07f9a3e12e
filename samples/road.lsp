;;; Road corridor sample: a surface that follows the kerbs, stays inside the site outline and
;;; leaves out a traffic island.
;;;
;;; Run it in the folder that holds road.txt and road.json (generate_road.py writes both):
;;;   kafcad --drawing road.json --save road_surface.dxf --png road.png road.lsp
;;; (run-sample.sh does all of this in out/sample/).

;; The survey file as the instrument's office software exports it: point number, northing,
;; easting, elevation and code, ';' between columns and decimal commas.
;; Kerbs 1A and 1B are breaklines, 1C the site outline, 1D the island. Triangles along the
;; outline longer than 15 m are trimmed; at most 20000 vertices per mesh.
(setq surface
      (kaf-cdt-subdmesh-withloadcsv
        '("road.txt") "PNEZD" ";"
        '("1A" "1B") "1C" '("1D")
        15.0 "TIN" 20000))

(princ "\nMeshes made: ")
(princ (length surface))
(princ "\n")
(kaf-surfaceStatistics surface)
(princ "\n")
(princ)
