;;; Terrain survey sample: builds a coloured terrain surface from a survey point file.
;;;
;;; Run it in the folder that holds terrain.csv, in a drawing that has the layer TERRAIN:
;;;   kafcad --layer TERRAIN --save terrain.dxf --png terrain.png terrain.lsp
;;; (run-sample.sh does all of this in out/sample/).

;; The survey points are in projected coordinates (eastings around 350000, northings around
;; 5800000). Shifting them to a local origin keeps the drawing's numbers small, which suits the
;; triangulator's floating-point tests and CAD work near the origin; z stays as measured.
(setq origin-east 350000.0
      origin-north 5800000.0)

;; Triangulate the file into subdivision meshes on layer TERRAIN, at most 40000 vertices each.
;; The result is the list of the new meshes' handles.
(setq meshes
      (kaf-dct-subdmesh-withloadcsv
        '("terrain.csv") ";" "TERRAIN"
        (- origin-east) (- origin-north) 1.0
        40000))

(princ "\nMeshes made: ")
(princ (length meshes))
(princ (strcat " (handles " (car meshes) " ... " (nth (- (length meshes) 1) meshes) ")\n"))

;; Colour the meshes by elevation: dark green in the valley at 430 m to light brown on the
;; heights at 580 m.
(kaf-changeMeshColor meshes 430.0 580.0 '(40 95 55) '(215 195 165))
(princ "\nColoured by elevation, 430 m green to 580 m brown.\n")
(princ)
