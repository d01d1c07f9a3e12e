;;; Road corridor sample: a surface that follows the kerbs, stays inside the site outline and
;;; leaves out a traffic island.
;;;
;;; Run it in the folder that holds road.txt and road.json (generate_road.py writes both):
;;;   kafcad --drawing road.json --save road_surface.dxf --png road.png road.lsp
;;; It also writes the long-section and cross-sections along the centre line as pictures,
;;; road_profile.png and road_sections.png.
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

;; The long-section along the centre line 1E, with a point every 10 m besides every triangle
;; edge it crosses, drawn on the surface on layer PROFILE; and cross-sections every 10 m,
;; 10 m to either side (the sections' profiles are lists of offset and elevation).
(setq centreline (kaf-profile surface "1E" "PROFILE" 10.0))
(setq sections (kaf-sections "1E" 10.0 10.0 10.0 surface))
(princ "\n")
(kafcad-profile-png "road_profile.png" (list (list "Centre line" centreline)) 10.0 1000 400)
;; Three of the sections over one another: the road's crown, gutters and kerbs between verges.
(kafcad-profile-png "road_sections.png"
  (list (list "Station 50" (cadr (nth 5 sections)))
        (list "Station 100" (cadr (nth 10 sections)))
        (list "Station 150" (cadr (nth 15 sections))))
  5.0 1000 400)
(princ)
